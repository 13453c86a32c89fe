#include "scenes/tpp/TppWebPage.h"

#include "host/VeUI.h"
#include "platform/Url.h"

bool OpenTppWebPage(const std::string& gbkUrl) {
    const auto page = weburl::WebPageFromGbk(gbkUrl);
    if (page) VeUI::VeShellExecuteA(*page);
    return page.has_value();
}
