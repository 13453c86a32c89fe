#include "scenes/online/NoltUrlScene.h"

int NoltUrlScene::Execute() { return m_stdMessage.empty() ? ExecuteWithoutMessage() : OpenMessageUrl(); }
