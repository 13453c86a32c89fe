#include "scenes/online/NoltSceneMusic.h"

#include "host/VeUI.h"
#include "scenes/shared/Endpoints.h"

int NoltSceneMusic::ExecuteWithoutMessage() {
    VeUI::VeShellExecuteA(endpoints::kKugouHome);
    return 1;
}
