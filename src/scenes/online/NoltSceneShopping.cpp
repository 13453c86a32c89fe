#include "scenes/online/NoltSceneShopping.h"

#include "host/VeUI.h"
#include "scenes/shared/Endpoints.h"

int NoltSceneShopping::ExecuteWithoutMessage() {
    VeUI::VeShellExecuteA(endpoints::kJdHome);
    return 1;
}
