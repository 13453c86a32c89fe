#include "scenes/shared/CSiteSearch.h"

#include <initializer_list>

#include "host/DataFactory.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/shared/Endpoints.h"

namespace {

const char16_t* VideoSiteOf(const CString& text) {
    if (ContainsAny(text, {u"NBA", u"欧洲杯"})) return u"腾讯";
    for (const char16_t* site : {u"爱奇艺", u"优酷", u"豆瓣", u"芒果TV", u"乐视"})
        if (text.Find(site) >= 0) return site;
    return u"优酷";
}

const char16_t* ShopOf(const CString& text) {
    for (const char16_t* site : {u"天猫", u"淘宝", u"京东", u"聚划算"})
        if (text.Find(site) >= 0) return site;
    return u"京东";
}

}  // namespace

std::string ShopHexForm(const CString& keyword) {
    return VeChar::UnicodeChar_2_16_JuHuaSuan(VeChar::VeCString2string(keyword));
}

bool CSiteSearch::ParseSiteText(const CString& text) {
    if (ContainsAny(text, {u"买飞机票", u"买火车票", u"买汽车票", u"买彩票", u"听音乐", u"看新闻", u"猫眼看人",
                           u"搜狗浏览器", u"搜狗高速浏览器", u"搜狐", u"迅雷看看", u"响巢看看"}))
        return false;
    int watch = text.Find(u"看");
    int buy = text.Find(u"买");
    int listen = text.Find(u"听");
    int cut;
    if (watch >= 0) {
        m_strSite = VideoSiteOf(text);
        cut = watch;
    } else if (buy >= 0) {
        m_strSite = ShopOf(text);
        cut = buy;
    } else if (listen >= 0) {
        m_strSite = u"music";
        cut = listen;
    } else {
        return false;
    }
    m_strKeyword = text.Right(text.GetLength() - cut - 1);
    return true;
}

bool CSiteSearch::IsMusicSite() const { return m_strSite == u"music"; }

bool CSiteSearch::OpenSite(LogType& logType) {
    CString name = m_strSite + m_strKeyword;
    if (CPreferences::Data()->OpenWebsite(name, logType)) return true;

    using namespace endpoints;
    using textcodec::UrlPlace;
    const bool empty = m_strKeyword.GetLength() == 0;
    const std::u16string_view keyword = m_strKeyword.GetString();
    const std::string gbk = VeChar::VeCString2string(m_strKeyword);
    std::string url;
    LogType type;
    if (m_strSite == u"天猫") {
        url = empty ? std::string(kTmallHome) : weburl::Url(kTmallSearch).Text(keyword).str();
        type = LogType_Shopping;
    } else if (m_strSite == u"京东") {
        url = empty ? std::string(kJdHome) : weburl::Url(kJdSearch).Text(keyword).Fixed("&enc=utf-8").str();
        type = LogType_Shopping;
    } else if (m_strSite == u"淘宝") {
        url = empty ? std::string(kTaobaoHome) : weburl::Url(kTaobaoSearch).Text(keyword).str();
        type = LogType_Shopping;
    } else if (m_strSite == u"聚划算") {
        url = weburl::Url(kJuhuasuanSearch).Encoded(ShopHexForm(m_strKeyword)).str();
        type = LogType_Shopping;
    } else if (m_strSite == u"爱奇艺") {
        // The video sites read the keyword's GBK bytes as they stand.
        url = empty ? std::string(kIqiyiHome) : weburl::Url(kIqiyiSearch).Raw(gbk, UrlPlace::pathSegment).str();
        type = LogType_Video;
    } else if (m_strSite == u"优酷") {
        url = empty ? std::string(kYoukuHome) : weburl::Url(kSokuVideoSearch).Raw(gbk, UrlPlace::pathSegment).str();
        type = LogType_Video;
    } else if (m_strSite == u"豆瓣") {
        url = weburl::Url(kDoubanMovieSearch).Raw(gbk, UrlPlace::queryValue).str();
        type = LogType_Video;
    } else if (m_strSite == u"芒果TV") {
        url = weburl::Url(kMgtvSearch).Raw(gbk, UrlPlace::pathSegment).str();
        type = LogType_Video;
    } else if (m_strSite == u"乐视") {
        url = weburl::Url(kLetvSearch).Text(keyword).str();
        type = LogType_Video;
    } else if (IsMusicSite()) {
        url = weburl::Url(kKugouSongSearch).Text(keyword).str();
        type = LogType_Music;
    } else {
        return false;
    }
    VeUI::VeShellExecuteA(url);
    logType = type;
    return true;
}
