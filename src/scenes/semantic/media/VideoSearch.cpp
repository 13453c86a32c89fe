#include "scenes/semantic/media/VideoSearch.h"

#include <string_view>
#include <vector>

#include "host/CUtil.h"
#include "host/DataFactory.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "scenes/shared/Endpoints.h"
#include "scenes/shared/SearchSiteTable.h"
#include "scenes/shared/SearchVerbs.h"

namespace {

bool AsksForWebSearch(std::string_view utterance, std::string_view keyword) {
    const std::string_view before = utterance.substr(0, FindGbk(utterance, keyword));
    for (const auto& verb : WebSearchVerbs())
        if (ContainsGbk(before, verb)) return true;
    return false;
}

}  // namespace

void AppendWord(std::string& keyword, const std::string& part) {
    if (!keyword.empty() && !part.empty()) keyword += ' ';
    keyword += part;
}

int OpenVideo(const std::string& utterance, const std::string& keyword, std::string& platform, LogType& logType) {
    if (keyword.empty()) {
        VeUI::VeShellExecuteA(endpoints::kIqiyiHome);
        return 1;
    }
    if (platform.empty()) {
        if (AsksForWebSearch(utterance, keyword)) {
            CUtil::SearchInBaidu_unicode(keyword);
            return 1;
        }
        platform = GBK("爱奇艺");
    }
    CString site = VeChar::VeUnicodeChar_2_CString(platform + keyword);
    if (!CPreferences::Data()->OpenWebsite(site, logType)) SearchOnSite(keyword, platform, GBK("爱奇艺"));
    return 1;
}
