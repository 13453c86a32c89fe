#include "scenes/online/NoltSceneShopping.h"

#include "host/VeUI.h"
#include "scenes/semantic/Endpoints.h"

int NoltSceneShopping::ExecuteWithoutMessage() {
    VeUI::VeShellExecuteA(endpoints::kJdHome);
    return 1;
}
