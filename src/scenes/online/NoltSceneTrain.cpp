#include "scenes/online/NoltSceneTrain.h"

#include "host/VeUI.h"
#include "scenes/shared/Endpoints.h"

int NoltSceneTrain::ExecuteWithoutMessage() {
    VeUI::VeShellExecuteA(endpoints::kQunarHome);
    return 1;
}
