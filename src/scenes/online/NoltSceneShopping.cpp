#include "scenes/online/NoltSceneShopping.h"

void NoltSceneShopping::Parse(VeJson&) {}

int NoltSceneShopping::Execute() { return 0; }
