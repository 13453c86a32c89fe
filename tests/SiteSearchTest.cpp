// Searching a keyword on a named site, opening a site's home page, and the spoken
// 「看…」/「买…」/「听…」 requests: the pages opened on the simulated desktop.
#include "TestSupport.h"
#include "scenes/shared/CSiteSearch.h"
#include "scenes/shared/SearchSiteTable.h"

using namespace vetest;

namespace {

const std::string kPhone = "%E6%89%8B%E6%9C%BA";  // 手机
const std::string kJdPhone = "http://search.jd.com/search?keyword=" + kPhone + "&enc=utf-8";
const std::string kAmazon = "https://www.amazon.cn/s/ref=nb_sb_noss_2?__mk_zh_CN=亚马逊网站&url=search-alias%3Daps"
                            "&field-keywords=";

class SiteSearchTest : public SimTest {};

TEST_F(SiteSearchTest, SearchOnSiteOrOpenSiteHomeOfTheSiteOrTheFallback) {
    // keyword: UTF-8 here, passed as GBK, none for the home page; url: empty when nothing opens.
    const struct { const char* keyword; const char* site; const char* fallback; std::string url; } cases[] = {
        {"手机", "苏宁", "百度", "http://search.suning.com/" + kPhone + "/"},
        {"手机a", "聚划算", "百度", "https://ju.taobao.com/search.htm?words=%CA%D6%BB%FA%61"},
        {"周杰伦", "百度视频", "百度",
         "http://v.baidu.com/v?word=" + kJay + "&ct=301989888&rn=20&pn=0&db=0&s=0&fbl=800&ie=utf-8"},
        {"周杰伦", "芒果TV", "百度", kBaiduJay}, {"周杰伦", "", "百度", kBaiduJay},
        {"手机", "不存在的网站", "京东", kJdPhone},  // the fallback's own suffix applies
        {"手机", "亚马逊", "百度", kAmazon + kPhone},
        {"a b&c=d", "baidu", "百度", "https://www.baidu.com/s?wd=a%20b%26c%3Dd&enc=utf-8"},
        {"a\"&", "聚划算", "百度", "https://ju.taobao.com/search.htm?words=%61%22%26"},
        {"", "taobao", "百度", "https://s.taobao.com/search?q="},
        {"周杰伦", "不存在的网站", "也不存在", ""},
        // Home pages: the domain up to ".com", else the whole rest of the row.
        {nullptr, "tmall", "百度", "https://www.tmall.com"}, {nullptr, "不存在的网站", "淘宝", "https://www.taobao.com"},
        {nullptr, "亚马逊", "百度", kAmazon}, {nullptr, "不存在的网站", "也不存在", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.keyword ? c.keyword : "home") << " on " << c.site << " or " << c.fallback);
        sim->ClearTrace();
        if (c.keyword)
            SearchOnSite(Gbk(c.keyword), Gbk(c.site), Gbk(c.fallback));
        else
            OpenSiteHome(Gbk(c.site), Gbk(c.fallback));
        EXPECT_EQ(Opened(), c.url.empty() ? Lines{} : Lines{c.url});
    }
}

TEST_F(SiteSearchTest, LookupsNeverAddRowsAndEveryRowIsAWebPage) {
    const auto& table = SearchSiteTable();
    const size_t rows = table.size();
    SearchOnSite(GBK("手机"), GBK("芒果TV"), GBK("不存在"));
    SearchOnSite(GBK("手机"), "", "");
    OpenSiteHome(GBK("不存在的网站"), GBK("也不存在"));
    EXPECT_EQ(table.size(), rows);
    for (const auto& [site, url] : table)
        EXPECT_TRUE(url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0) << Utf8(site) << " " << url;
}

TEST(ParseSiteTextTest, SiteAndKeywordOfTheFirstMarker) {
    // The rest of the sites and keywords show in the pages opened below.
    const struct { const char* text; const char* site; const char* keyword; } cases[] = {
        {"看NBA直播", "腾讯", "NBA直播"}, {"在爱奇艺看NBA", "腾讯", "NBA"}, {"看", "优酷", ""},
        // Watching is looked for before buying, wherever it stands.
        {"看看京东买什么", "优酷", "看京东买什么"}, {"买书看", "优酷", ""}, {"淘宝和天猫买衣服", "天猫", "衣服"},
    };
    for (const auto& c : cases) {
        CSiteSearch search;
        ASSERT_TRUE(search.ParseSiteText(Wide(c.text))) << c.text;
        EXPECT_EQ(Utf8(search.m_strSite) + "|" + Utf8(search.m_strKeyword), std::string(c.site) + "|" + c.keyword);
    }
    for (const char* text : {"买飞机票", "我想买火车票回家", "买汽车票", "买彩票", "我想听音乐", "看新闻", "猫眼看人",
                             "打开搜狗浏览器看看", "搜狗高速浏览器", "在搜狐看视频", "迅雷看看电影", "响巢看看",
                             "打开记事本", ""})
        EXPECT_FALSE(CSiteSearch().ParseSiteText(Wide(text))) << text;
}

TEST_F(SiteSearchTest, OpenSiteAsksTheHostThenOpensTheSearchOrHomePage) {
    sim->State().websites = {{"京东电脑", "https://example.invalid/"}};
    // logType -1: nothing opened, the log type left as it was; 23: the host opened its web site.
    const struct { const char* text; int logType; std::string url; } cases[] = {
        {"看NBA直播", -1, ""}, {"买电脑", 23, ""}, {"买手机", 19, kJdPhone},
        {"天猫买手机", 19, "https://list.tmall.com/search_product.htm?q=" + kPhone},
        {"淘宝买手机", 19, "https://s.taobao.com/search?q=" + kPhone},
        {"聚划算买手机", 19, "https://ju.taobao.com/search.htm?words=%CA%D6%BB%FA"},
        {"听小夜曲", 15,
         "http://www.kugou.com/yy/html/search.html#searchType=song&searchKeyWord=%E5%B0%8F%E5%A4%9C%E6%9B%B2"},
        {"乐视看电影", 14, "http://so.le.com/s?wd=%E7%94%B5%E5%BD%B1"},
        // Video sites other than 乐视 take the keyword as it stands.
        {"看看京东买什么", 14, "http://www.soku.com/search_video/q_看京东买什么"},
        {"在爱奇艺看电影", 14, "http://so.iqiyi.com/so/q_电影"},
        {"豆瓣看影评", 14, "https://movie.douban.com/subject_search?search_text=影评"},
        {"看芒果TV综艺", 14, "http://so.mgtv.com/so/k-芒果TV综艺"},
        // ... but never a character that would end the address or change its shape.
        {"优酷看 x\" y", 14, "http://www.soku.com/search_video/q_%20x%22%20y"},
        {"爱奇艺看a/../b?c#d", 14, "http://so.iqiyi.com/so/q_a%2F..%2Fb%3Fc%23d"},
        {"豆瓣看a&b=c'd", 14, "https://movie.douban.com/subject_search?search_text=a%26b%3Dc%27d"},
        {"芒果TV看\r\n%41", 14, "http://so.mgtv.com/so/k-%0D%0A%2541"},
        {"优酷看乗|", 14, "http://www.soku.com/search_video/q_乗%7C"},  // 乗's GBK trail byte reads as a backslash
        // Without a keyword: the site's home page.
        {"天猫买", 19, "https://www.tmall.com/"}, {"买", 19, "https://www.jd.com/"},
        {"淘宝买", 19, "https://www.taobao.com/"}, {"爱奇艺看", 14, "http://www.iqiyi.com/"},
        {"看", 14, "http://www.youku.com/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sim->ClearTrace();
        CSiteSearch search;
        ASSERT_TRUE(search.ParseSiteText(Wide(c.text)));
        LogType logType = LogType_Base;
        EXPECT_EQ(search.OpenSite(logType), c.logType >= 0);
        EXPECT_EQ(logType, c.logType < 0 ? LogType_Base : c.logType);
        Lines expected = {"CDataFactory::OpenWebsite(" + Q(Utf8(search.m_strSite + search.m_strKeyword)) + ") -> " +
                          (c.logType == LogType_Website ? "true" : "false")};
        if (!c.url.empty()) expected.push_back(vetest::calls::Shell(c.url));
        EXPECT_EQ(Readable(Trace()), expected);
    }
}

}  // namespace
