#include "scenes/shared/SearchSiteTable.h"

#include <utility>
#include <vector>

#include "host/VeChar.h"
#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/shared/Endpoints.h"

namespace {

std::map<std::string, std::string> BuildSearchSiteTable() {
    using namespace endpoints;
    const std::string amazon = std::string(kAmazonSearchHead) + VeChar::VeUtf8_2_UnicodeChar(kAmazonSearchWord) +
                               kAmazonSearchTail;
    // Site names as the user or the semantic engine says them (UTF-8 here, GBK keys).
    const std::vector<std::pair<const char*, std::string>> rows = {
        {"tmall", kTmallSearch},          {"天猫", kTmallSearch},
        {"jdcom", kJdSearch},             {"京东", kJdSearch},
        {"taobao", kTaobaoSearch},        {"淘宝", kTaobaoSearch},
        {"聚划算", kJuhuasuanSearch},     {"唯品会", kVipshopSuggest},
        {"聚美优品", kJumeiSearch},       {"苏宁", kSuningSearch},
        {"亚马逊", amazon},               {"国美", kGomeSearch},
        {"1号店", kYhdSearch},            {"一号店", kYhdSearch},
        {"当当", kDangdangSearch},        {"baidu", kBaiduSearch},
        {"百度", kBaiduSearch},           {"google", kGoogleSearch},
        {"谷歌", kGoogleSearch},          {"360", kSo360Search},
        {"sougou", kSogouSearch},         {"搜狗", kSogouSearch},
        {"雅虎", kYahooSearch},           {"yahoo", kYahooSearch},
        {"爱奇艺", kIqiyiSearch},         {"youku", kSokuVideoSearch},
        {"优酷", kSokuVideoSearch},       {"tudou", kSokuTudouSearch},
        {"土豆", kSokuTudouSearch},       {"芒果tv", kMgtvSearch},
        {"乐视", kLetvSearch},            {"百度视频", kBaiduVideoSearch},
        {"豆瓣", kDoubanMovieSearch},     {"搜狐视频", kSohuTvSearch},
        {"腾讯视频", kTencentVideoSearch}, {"新浪视频", kSinaVideoSearch},
        {"凤凰视频", kIfengVideoSearch},  {"迅雷看看", kKankanSearch},
        {"天天看看", kKankanSearch},
    };
    std::map<std::string, std::string> table;
    for (const auto& [site, url] : rows) table.emplace(VeChar::VeUtf8_2_UnicodeChar(site), url);
    return table;
}

// The row of `site`, else of `fallbackSite` (which `site` then becomes); empty when neither
// has one. Looking up never adds to the table.
std::string RowOf(std::string& site, const std::string& fallbackSite) {
    const auto& table = SearchSiteTable();
    auto it = table.find(site);
    if (it == table.end() || it->second.empty()) {
        site = fallbackSite;
        it = table.find(site);
    }
    return it == table.end() ? std::string() : it->second;
}

}  // namespace

const std::map<std::string, std::string>& SearchSiteTable() {
    static const std::map<std::string, std::string> table = BuildSearchSiteTable();
    return table;
}

void SearchOnSite(std::string keyword, std::string site, std::string fallbackSite) {
    const std::string row = RowOf(site, fallbackSite);
    // Without a row there is no page: opening the bare keyword would run it as a command.
    if (row.empty()) return;
    weburl::Url url(row);
    if (site == GBK("聚划算"))
        url.Encoded(VeChar::UnicodeChar_2_16_JuHuaSuan(keyword));
    else
        url.Text(keyword);
    if (site == "baidu" || site == GBK("百度") || site == "jdcom" || site == GBK("京东"))
        url.Fixed("&enc=utf-8");
    else if (site == GBK("苏宁"))
        url.Fixed("/");
    else if (site == GBK("百度视频"))
        url.Fixed("&ct=301989888&rn=20&pn=0&db=0&s=0&fbl=800&ie=utf-8");
    VeUI::VeShellExecuteA(url);
}

void OpenSiteHome(std::string site, std::string fallbackSite) {
    std::string url = RowOf(site, fallbackSite);
    size_t dot = url.find('.');
    if (dot == std::string::npos) return;
    size_t com = url.find(".com");
    std::string domain = com == std::string::npos || com < dot ? url.substr(dot) : url.substr(dot, com + 4 - dot);
    VeUI::VeShellExecuteA(weburl::Url("https://www").Fixed(domain));
}
