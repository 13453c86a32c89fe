#include "host/VeOffice.h"

CVeOffice::CVeOffice(const CVeOffice&) {}
CVeOffice& CVeOffice::operator=(const CVeOffice&) { return *this; }
