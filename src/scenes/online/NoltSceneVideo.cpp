#include "scenes/online/NoltSceneVideo.h"

#include "host/VeUI.h"
#include "scenes/shared/Endpoints.h"

int NoltSceneVideo::ExecuteWithoutMessage() {
    VeUI::VeShellExecuteA(endpoints::kIqiyiHome);
    return 1;
}
