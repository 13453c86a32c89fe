#include "scenes/shared/CSiteSearch.h"

#include <initializer_list>

#include "host/DataFactory.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
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
    const bool empty = m_strKeyword.GetLength() == 0;
    const std::string encoded = VeChar::UnicodeTCHAR_2_Urlcode(m_strKeyword);
    const std::string raw = VeChar::VeCString2string(m_strKeyword);
    std::string url;
    LogType type;
    if (m_strSite == u"天猫") {
        url = empty ? kTmallHome : kTmallSearch + encoded;
        type = LogType_Shopping;
    } else if (m_strSite == u"京东") {
        url = empty ? std::string(kJdHome) : kJdSearch + encoded + "&enc=utf-8";
        type = LogType_Shopping;
    } else if (m_strSite == u"淘宝") {
        url = empty ? kTaobaoHome : kTaobaoSearch + encoded;
        type = LogType_Shopping;
    } else if (m_strSite == u"聚划算") {
        url = kJuhuasuanSearch + ShopHexForm(m_strKeyword);
        type = LogType_Shopping;
    } else if (m_strSite == u"爱奇艺") {
        url = empty ? kIqiyiHome : kIqiyiSearch + raw;
        type = LogType_Video;
    } else if (m_strSite == u"优酷") {
        url = empty ? kYoukuHome : kSokuVideoSearch + raw;
        type = LogType_Video;
    } else if (m_strSite == u"豆瓣") {
        url = kDoubanMovieSearch + raw;
        type = LogType_Video;
    } else if (m_strSite == u"芒果TV") {
        url = kMgtvSearch + raw;
        type = LogType_Video;
    } else if (m_strSite == u"乐视") {
        url = kLetvSearch + encoded;
        type = LogType_Video;
    } else if (IsMusicSite()) {
        url = kKugouSongSearch + encoded;
        type = LogType_Music;
    } else {
        return false;
    }
    VeUI::VeShellExecuteA(url);
    logType = type;
    return true;
}
