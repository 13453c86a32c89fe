// Searching a keyword on a named site, opening a site's home page, and the spoken
// 「看…」/「买…」/「听…」 requests: the pages opened on the simulated desktop.
#include <ostream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "host/VeChar.h"
#include "scenes/semantic/CSiteSearch.h"
#include "scenes/semantic/SearchSiteTable.h"

using namespace vetest;

namespace {

using Lines = std::vector<std::string>;

// The table rows hold UTF-8 texts; the functions under test take GBK.
std::string Gbk(const std::string& utf8) { return VeChar::VeUtf8_2_UnicodeChar(utf8); }
std::string Utf8(const CString& text) { return VeChar::VeCString_2_Utf8(text); }
CString Wide(const std::string& utf8) { return VeChar::VeUtf8_2_CString(utf8); }

const std::string kJay = "%E5%91%A8%E6%9D%B0%E4%BC%A6";  // 周杰伦
const std::string kPhone = "%E6%89%8B%E6%9C%BA";        // 手机
const std::string kBaiduJay = "https://www.baidu.com/s?wd=" + kJay + "&enc=utf-8";
const std::string kAmazon = "https://www.amazon.cn/s/ref=nb_sb_noss_2?__mk_zh_CN=亚马逊网站&url=search-alias%3Daps"
                            "&field-keywords=";

// Failure messages name the case instead of dumping its bytes.
template <typename Case>
    requires requires(const Case& c) { c.name; } || requires(const Case& c) { c.text; } ||
             requires(const Case& c) { c.word; } || requires(const Case& c) { c.key; }
void PrintTo(const Case& c, std::ostream* os) {
    if constexpr (requires { c.name; })
        *os << c.name;
    else if constexpr (requires { c.text; })
        *os << c.text;
    else if constexpr (requires { c.word; })
        *os << c.word;
    else if constexpr (requires { c.key; })
        *os << c.key;
}


// ---------------------------------------------------------------- SearchOnSite

struct SearchCase {
    const char* name;
    const char* keyword;  // UTF-8 here, passed as GBK
    const char* site;
    const char* fallback;
    std::string url;  // empty: nothing opened
};

class SearchOnSiteTest : public SimTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchOnSiteTest, OpensTheSearchPage) {
    const auto& c = GetParam();
    SearchOnSite(Gbk(c.keyword), Gbk(c.site), Gbk(c.fallback));
    EXPECT_EQ(Opened(), c.url.empty() ? Lines{} : Lines{c.url});
    EXPECT_EQ(Trace().size(), c.url.empty() ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    SiteSearch, SearchOnSiteTest,
    ::testing::Values(
        SearchCase{"Jd", "手机", "京东", "百度", "http://search.jd.com/search?keyword=" + kPhone + "&enc=utf-8"},
        SearchCase{"JdCom", "手机", "jdcom", "百度", "http://search.jd.com/search?keyword=" + kPhone + "&enc=utf-8"},
        SearchCase{"Baidu", "周杰伦", "baidu", "京东", kBaiduJay},
        SearchCase{"BaiduChinese", "周杰伦", "百度", "京东", kBaiduJay},
        SearchCase{"Tmall", "手机", "天猫", "百度", "https://list.tmall.com/search_product.htm?q=" + kPhone},
        SearchCase{"TmallLatin", "手机", "tmall", "百度", "https://list.tmall.com/search_product.htm?q=" + kPhone},
        SearchCase{"Taobao", "手机", "淘宝", "百度", "https://s.taobao.com/search?q=" + kPhone},
        SearchCase{"Suning", "手机", "苏宁", "百度", "http://search.suning.com/" + kPhone + "/"},
        SearchCase{"ShopHexForm", "手机a", "聚划算", "百度", "https://ju.taobao.com/search.htm?words=%CA%D6%BB%FA%61"},
        SearchCase{"ShopHexFormNoLeadingZero", "a\tb", "聚划算", "百度",
                   "https://ju.taobao.com/search.htm?words=%61%9%62"},
        SearchCase{"BaiduVideo", "周杰伦", "百度视频", "百度",
                   "http://v.baidu.com/v?word=" + kJay + "&ct=301989888&rn=20&pn=0&db=0&s=0&fbl=800&ie=utf-8"},
        SearchCase{"Google", "周杰伦", "google", "百度", "https://www.google.com/#q=" + kJay},
        SearchCase{"MangoLowerCase", "周杰伦", "芒果tv", "百度", "http://so.mgtv.com/so/k-" + kJay},
        SearchCase{"MangoUpperCaseFallsBack", "周杰伦", "芒果TV", "百度", kBaiduJay},
        SearchCase{"MissingSiteBaidu", "周杰伦", "不存在的网站", "百度", kBaiduJay},
        SearchCase{"MissingSiteJd", "手机", "不存在的网站", "京东",
                   "http://search.jd.com/search?keyword=" + kPhone + "&enc=utf-8"},
        SearchCase{"EmptySiteFallsBack", "周杰伦", "", "百度", kBaiduJay},
        SearchCase{"FallbackSuning", "手机", "", "苏宁", "http://search.suning.com/" + kPhone + "/"},
        SearchCase{"Amazon", "手机", "亚马逊", "百度", kAmazon + kPhone},
        SearchCase{"AsciiKeyword", "a b&c=d", "baidu", "百度", "https://www.baidu.com/s?wd=a%20b%26c%3Dd&enc=utf-8"},
        SearchCase{"EmptyKeyword", "", "taobao", "百度", "https://s.taobao.com/search?q="},
        SearchCase{"NeitherHasARow", "周杰伦", "不存在的网站", "也不存在", ""},
        SearchCase{"NothingNamed", "周杰伦", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

class SearchSiteTableTest : public SimTest {};

TEST_F(SearchSiteTableTest, LookupsNeverAddRows) {
    const auto& table = SearchSiteTable();
    ASSERT_EQ(table.size(), 39u);
    SearchOnSite(GBK("手机"), GBK("芒果TV"), GBK("不存在"));
    SearchOnSite(GBK("手机"), GBK("不存在的网站"), GBK("百度"));
    SearchOnSite(GBK("手机"), "", "");
    OpenSiteHome(GBK("不存在的网站"), GBK("也不存在"));
    EXPECT_EQ(table.size(), 39u);
    EXPECT_EQ(table.count(GBK("芒果TV")), 0u);
    EXPECT_EQ(table.count(""), 0u);
    EXPECT_EQ(table.count(GBK("不存在的网站")), 0u);
    EXPECT_EQ(table.count(GBK("芒果tv")), 1u);
}

TEST_F(SearchSiteTableTest, EveryRowIsAWebPage) {
    for (const auto& [site, url] : SearchSiteTable()) {
        SCOPED_TRACE(VeChar::VeUnicodeChar_2_Utf8(site));
        EXPECT_TRUE(url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0) << url;
    }
}

// ---------------------------------------------------------------- OpenSiteHome

struct HomeCase {
    const char* name;
    const char* site;
    const char* fallback;
    std::string url;
};

class OpenSiteHomeTest : public SimTest, public ::testing::WithParamInterface<HomeCase> {};

TEST_P(OpenSiteHomeTest, OpensTheDomain) {
    const auto& c = GetParam();
    OpenSiteHome(Gbk(c.site), Gbk(c.fallback));
    EXPECT_EQ(Opened(), c.url.empty() ? Lines{} : Lines{c.url});
}

INSTANTIATE_TEST_SUITE_P(
    SiteSearch, OpenSiteHomeTest,
    ::testing::Values(HomeCase{"Tmall", "tmall", "百度", "https://www.tmall.com"},
                      HomeCase{"Jd", "京东", "百度", "https://www.jd.com"},
                      HomeCase{"Baidu", "百度", "京东", "https://www.baidu.com"},
                      HomeCase{"So360", "360", "百度", "https://www.so.com"},
                      HomeCase{"Suning", "苏宁", "百度", "https://www.suning.com"},
                      HomeCase{"Gome", "国美", "百度", "https://www.gome.com"},
                      HomeCase{"AmazonHasNoCom", "亚马逊", "百度", "https://www.amazon.cn/s/ref=nb_sb_noss_2?__mk_zh_CN="
                                                                   "亚马逊网站&url=search-alias%3Daps&field-keywords="},
                      HomeCase{"Fallback", "不存在的网站", "淘宝", "https://www.taobao.com"},
                      HomeCase{"MangoUpperCaseFallsBack", "芒果TV", "优酷", "https://www.soku.com"},
                      HomeCase{"NeitherHasARow", "不存在的网站", "也不存在", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- CSiteSearch::ParseSiteText

struct ParseCase {
    const char* name;
    const char* text;
    const char* site;  // nullptr: refused
    const char* keyword;
};

class ParseSiteTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSiteTextTest, SiteAndKeyword) {
    const auto& c = GetParam();
    CSiteSearch search;
    EXPECT_EQ(search.ParseSiteText(Wide(c.text)), c.site != nullptr);
    if (!c.site) return;
    EXPECT_EQ(Utf8(search.m_strSite), c.site);
    EXPECT_EQ(Utf8(search.m_strKeyword), c.keyword);
    EXPECT_EQ(search.IsMusicSite(), std::string(c.site) == "music");
}

INSTANTIATE_TEST_SUITE_P(
    SiteSearch, ParseSiteTextTest,
    ::testing::Values(
        ParseCase{"Nba", "看NBA直播", "腾讯", "NBA直播"}, ParseCase{"EuroCup", "我要看欧洲杯", "腾讯", "欧洲杯"},
        ParseCase{"SportBeforeSite", "在爱奇艺看NBA", "腾讯", "NBA"},
        ParseCase{"Iqiyi", "在爱奇艺看电影", "爱奇艺", "电影"}, ParseCase{"Douban", "豆瓣看影评", "豆瓣", "影评"},
        ParseCase{"Mango", "看芒果TV综艺", "芒果TV", "芒果TV综艺"}, ParseCase{"Letv", "乐视看电视剧", "乐视", "电视剧"},
        ParseCase{"WatchDefault", "看电影", "优酷", "电影"},
        ParseCase{"WatchBeforeBuy", "看看京东买什么", "优酷", "看京东买什么"},
        ParseCase{"WatchBeforeBuyLater", "买书看", "优酷", ""},
        ParseCase{"Buy", "买手机", "京东", "手机"}, ParseCase{"Tmall", "去天猫买衣服", "天猫", "衣服"},
        ParseCase{"Taobao", "淘宝买衣服", "淘宝", "衣服"}, ParseCase{"Juhuasuan", "聚划算买零食", "聚划算", "零食"},
        ParseCase{"ShopOrder", "淘宝和天猫买衣服", "天猫", "衣服"},
        ParseCase{"Listen", "听小夜曲", "music", "小夜曲"}, ParseCase{"EmptyWatch", "看", "优酷", ""},
        ParseCase{"FlightTicket", "买飞机票", nullptr, nullptr},
        ParseCase{"TrainTicket", "我想买火车票回家", nullptr, nullptr},
        ParseCase{"BusTicket", "买汽车票", nullptr, nullptr}, ParseCase{"Lottery", "买彩票", nullptr, nullptr},
        ParseCase{"Music", "我想听音乐", nullptr, nullptr}, ParseCase{"News", "看新闻", nullptr, nullptr},
        ParseCase{"CatEye", "猫眼看人", nullptr, nullptr},
        ParseCase{"Browser", "打开搜狗浏览器看看", nullptr, nullptr},
        ParseCase{"FastBrowser", "搜狗高速浏览器", nullptr, nullptr},
        ParseCase{"Sohu", "在搜狐看视频", nullptr, nullptr},
        ParseCase{"Kankan", "迅雷看看电影", nullptr, nullptr}, ParseCase{"Xiangchao", "响巢看看", nullptr, nullptr},
        ParseCase{"NoMarker", "打开记事本", nullptr, nullptr}, ParseCase{"Empty", "", nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- CSiteSearch::OpenSite

struct OpenCase {
    const char* name;
    const char* text;
    bool opened;
    int logType;  // -1: left as it was
    std::string url;
};

class OpenSiteTest : public SimTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenSiteTest, AsksTheHostThenOpensTheSearch) {
    const auto& c = GetParam();
    CSiteSearch search;
    ASSERT_TRUE(search.ParseSiteText(Wide(c.text)));
    LogType logType = LogType_Base;
    EXPECT_EQ(search.OpenSite(logType), c.opened);
    EXPECT_EQ(logType, c.logType < 0 ? LogType_Base : c.logType);
    const std::string asked = Utf8(search.m_strSite + search.m_strKeyword);
    Lines expected = {"CDataFactory::OpenWebsite(" + vesim::JsonQuote(asked) + ") -> false"};
    if (!c.url.empty()) expected.push_back("VeUI::VeShellExecuteA(" + vesim::JsonQuote(c.url) + ")");
    EXPECT_EQ(Readable(Trace()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    SiteSearch, OpenSiteTest,
    ::testing::Values(
        OpenCase{"SportSiteUnknownToHost", "看NBA直播", false, -1, ""},
        OpenCase{"Jd", "买手机", true, 19, "http://search.jd.com/search?keyword=" + kPhone + "&enc=utf-8"},
        OpenCase{"Tmall", "天猫买手机", true, 19, "https://list.tmall.com/search_product.htm?q=" + kPhone},
        OpenCase{"Taobao", "淘宝买手机", true, 19, "https://s.taobao.com/search?q=" + kPhone},
        OpenCase{"Juhuasuan", "聚划算买手机", true, 19, "https://ju.taobao.com/search.htm?words=%CA%D6%BB%FA"},
        OpenCase{"Kugou", "听小夜曲", true, 15,
                 "http://www.kugou.com/yy/html/search.html#searchType=song&searchKeyWord=%E5%B0%8F%E5%A4%9C%E6%9B%B2"},
        OpenCase{"Letv", "乐视看电影", true, 14, "http://so.le.com/s?wd=%E7%94%B5%E5%BD%B1"},
        OpenCase{"TmallHome", "天猫买", true, 19, "https://www.tmall.com/"},
        OpenCase{"JdHome", "买", true, 19, "https://www.jd.com/"},
        OpenCase{"TaobaoHome", "淘宝买", true, 19, "https://www.taobao.com/"},
        OpenCase{"IqiyiHome", "爱奇艺看", true, 14, "http://www.iqiyi.com/"},
        OpenCase{"YoukuHome", "看", true, 14, "http://www.youku.com/"}),
    [](const auto& info) { return std::string(info.param.name); });

class OpenSiteVideoTest : public SimTest {};

TEST_F(OpenSiteVideoTest, VideoSitesGetTheirSearch) {
    struct {
        const char* text;
        const char* prefix;
    } cases[] = {
        {"看看京东买什么", "http://www.soku.com/search_video/q_"},
        {"在爱奇艺看电影", "http://so.iqiyi.com/so/q_"},
        {"豆瓣看影评", "https://movie.douban.com/subject_search?search_text="},
        {"看芒果TV综艺", "http://so.mgtv.com/so/k-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sim->ClearTrace();
        CSiteSearch search;
        ASSERT_TRUE(search.ParseSiteText(Wide(c.text)));
        LogType logType = LogType_Base;
        EXPECT_TRUE(search.OpenSite(logType));
        EXPECT_EQ(logType, LogType_Video);
        auto opened = Opened();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0].rfind(c.prefix, 0), 0u) << opened[0];
        EXPECT_GT(opened[0].size(), std::string(c.prefix).size());
    }
}

TEST_F(OpenSiteVideoTest, HostWebsiteWinsAndNothingElseOpens) {
    sim->State().websites = {{"京东手机", "https://example.invalid/"}, {"腾讯NBA直播", "https://example.invalid/"}};
    for (const char* text : {"买手机", "看NBA直播"}) {
        SCOPED_TRACE(text);
        sim->ClearTrace();
        CSiteSearch search;
        ASSERT_TRUE(search.ParseSiteText(Wide(text)));
        LogType logType = LogType_Base;
        EXPECT_TRUE(search.OpenSite(logType));
        EXPECT_EQ(logType, LogType_Website);
        EXPECT_TRUE(Opened().empty());
        EXPECT_EQ(EventsOf("CDataFactory::OpenWebsite").size(), 1u);
    }
}

}  // namespace
