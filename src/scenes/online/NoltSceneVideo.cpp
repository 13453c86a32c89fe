#include "scenes/online/NoltSceneVideo.h"

#include "host/VeUI.h"
#include "scenes/semantic/Endpoints.h"

int NoltSceneVideo::ExecuteWithoutMessage() {
    VeUI::VeShellExecuteA(endpoints::kIqiyiHome);
    return 1;
}
