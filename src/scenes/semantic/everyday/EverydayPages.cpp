#include "scenes/semantic/everyday/EverydayPages.h"

#include "host/TextMatch.h"
#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/shared/Endpoints.h"

void OpenMapSearch(const std::string& place) {
    if (place.empty())
        VeUI::VeShellExecuteA(endpoints::kAmapHome);
    else
        VeUI::VeShellExecuteA(weburl::Url(endpoints::kAmapSearch).Text(place));
}

weburl::Url MeituanCityHost(const std::string& shortName) {
    auto host = weburl::Subdomain("http://", shortName, endpoints::kMeituanDomain);
    return host ? *host : weburl::Url(endpoints::kMeituanMain);
}

std::string WithoutLastChar(const std::string& text, std::string_view last) {
    const size_t lastStart = LastGbkCharStart(text);
    if (lastStart < text.size() && std::string_view(text).substr(lastStart) == last) return text.substr(0, lastStart);
    return text;
}

std::string BeforeFirst(const std::string& text, std::string_view mark) {
    const size_t pos = FindGbk(text, mark);
    return pos == std::string_view::npos ? text : text.substr(0, pos);
}
