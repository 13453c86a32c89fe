// The everyday-service scenes: which slots they read, and the page, web search or website
// lookup the simulated desktop records for each.
#include "TestSupport.h"
#include "host/TextMatch.h"
#include "scenes/semantic/everyday/EverydayPages.h"
#include "scenes/semantic/everyday/VeJsonCookbook.h"
#include "scenes/semantic/everyday/VeJsonExpressage.h"
#include "scenes/semantic/everyday/VeJsonEngineMapU.h"
#include "scenes/semantic/everyday/VeJsonLife.h"
#include "scenes/semantic/everyday/VeJsonMap.h"
#include "scenes/semantic/everyday/VeJsonRestaurant.h"
#include "scenes/semantic/everyday/VeJsonShopping.h"
#include "scenes/semantic/everyday/VeJsonStock.h"
#include "scenes/semantic/everyday/VeJsonTranslation.h"
#include "scenes/semantic/everyday/VeJsonWeather.h"

using namespace vetest;
using namespace vetest::calls;

namespace {

const std::string kAmapHome = "https://www.amap.com/";
std::string Amap(const std::string& place) { return Shell("https://www.amap.com/search?query=" + Enc(place)); }

using EverydayTest = SceneTest;

TEST_F(EverydayTest, WeatherSearchesThePlaceSaidElseWhereTheComputerIs) {
    Check<VeJsonWeather>("weather", {
        // The area's own value first, then the normalised values from the smallest place up.
        {"上海徐家汇天气", Slot("location.city", "上海", "上海") + "," + Slot("location.areaAddr", "徐家汇", "徐汇区"),
         {Search("徐家汇 天气")}, "苏州"},
        {"上海徐汇区天气", Slot("location.city", "上海") + "," + Slot("location.areaAddr", nullptr, "徐汇区"),
         {Search("徐汇区 天气")}},
        {"广东广州市天气", Slot("location.province", "广东", "广东省") + "," + Slot("location.city", "广州", "广州市"),
         {Search("广州市 天气")}},
        // The engine's own default place is replaced by the computer's city.
        {"明天天气怎么样", Slot("location.city", "CURRENT_CITY", "合肥市"), {City("苏州"), Search("苏州 天气")}},
        // Found only across two characters (仁兴 holds the bytes of 市): not said.
        {"仁兴天气", Slot("location.city", nullptr, "市"), {City("苏州"), Search("苏州 天气")}},
        // Said without its suffix: the engine's place stands.
        {"查看北京今天的天气", Slot("location.city", "北京市", "北京市"), {Search("北京市 天气")}},
        {"广东明天天气怎么样", Slot("location.province", "广东省", "广东省"), {Search("广东省 天气")}},
        {"天气怎么样", Slot("datetime", "今天", "2026-12-06"), {Search("天气")}},
        {"明天天气", Slot("location.city", nullptr, "合肥市"), {City(""), Search("天气")}, ""},
    });
}

TEST_F(EverydayTest, MapTakesTheFirstSlotThatIsNotTheLeadWordAndSearchesTheWebOnlyWhenAskedTo) {
    Check<VeJsonMap>("mapping", {
        {"去天安门", Slot("firstword", "去") + "," + Slot("endLoc.poi", "天安门", "天安门广场"), {Amap("天安门")}},
        {"北京在哪", Slot("endLoc.city", nullptr, "北京市"), {Amap("北京市")}},
        {"日本在哪", Slot("firstword", "查") + "," + Slot("country", "日本"), {Search("日本")}},
        {"在哪", Slot("country", ""), {Shell(kAmapHome)}},
        {"导航", Slot("firstword", "导航"), {Shell(kAmapHome)}},
    });
    const std::string slot = Slot("endLoc.ori_loc", "故宫", "故宫博物院");
    Check<VeJsonEngineMapU>("mapU", {
        {"导航到故宫", slot, {Amap("故宫博物院")}},
        {"搜索故宫", slot, {Search("故宫博物院")}},
        {"去故宫", Slot("endLoc.ori_loc", "故宫"), {Amap("故宫")}},
        {"搜索", Slot("endLoc.type", "poi"), {Shell(kAmapHome)}},
    });
}

TEST_F(EverydayTest, LifeShowsStopsAndSightsOnTheMapAndFoodOnTheLocalSite) {
    const auto life = [](const char* kind, const char* city, const char* area = nullptr) {
        std::string slots = Slot("roundService", kind);
        if (city) slots += "," + Slot("city", city);
        return area ? slots + "," + Slot("area", area) : slots;
    };
    const auto food = [](const char* host, const std::string& word) { return Shell(host + Enc(word) + "/"); };
    Check<VeJsonLife>("round_service", {
        {"上海的公交站", life("公交站", "上海"), {Amap("上海 公交站")}, "成都"},
        {"附近的景点", life("景点", nullptr), {City("成都"), Amap("成都 景点")}},
        {"苏州观前街的火锅", life("火锅", "苏州市", "观前街"),
         {Shell("http://su.meituan.com/s/" + Enc("火锅") + "/guanqianjie")}},
        // Hall before house before shop, whichever stands first; short names stay whole.
        {"老街火锅店", life("老街火锅店", "成都"), {food("http://cd.meituan.com/s/", "老街火锅")}},
        {"小店菜馆", life("小店菜馆", "北京市"), {food("http://bj.meituan.com/s/", "小店菜")}},
        {"店铺啊", life("店铺啊", "北京"), {food("http://bj.meituan.com/s/", "店铺啊")}},
        {"饭店", life("饭店", "北京"), {food("http://bj.meituan.com/s/", "饭店")}},
        // No short name: the main host; no kind: food in general.
        {"广州吃什么", life("", "广州", "天河"), {Shell("http://www.meituan.com/s/meishi/tianhe")}},
        {"景区", life("景区", nullptr), {City(""), Amap("北京 景区")}, ""},
        // Slot text fills its place and no more.
        {"x的火锅", life("火锅", "北京", "a/b c#"), {Shell("http://bj.meituan.com/s/" + Enc("火锅") + "/a%2Fb%20c%23")}},
    });

    sim->ClearTrace();
    VeJsonLife scene;
    scene.m_stdRoundService = GBK("公交");
    scene.m_stdArea = GBK("浦东");
    EXPECT_EQ(scene.Execute(), 1);
    scene.m_stdArea.clear();
    EXPECT_EQ(scene.Execute(), 1);
    EXPECT_EQ(Opened(), (Lines{"https://www.amap.com/search?query=" + Enc("浦东 公交"), kAmapHome}));
}

TEST_F(EverydayTest, RestaurantUsesTheCityShortNameElseItsPinyin) {
    const auto eat = [](const char* city, const char* dishes, const char* restaurant = nullptr) {
        std::string slots = Slot("dishes", dishes);
        if (restaurant) slots += "," + Slot("restaurant", restaurant);
        return city ? slots + "," + Slot("city", "苏", city) : slots;
    };
    Check<VeJsonRestaurant>("eat_out", {
        {"苏州的火锅", eat("苏州市", "火锅"), {Shell("http://su.meituan.com/s/火锅/")}, "上海市"},
        {"北京的海底捞", eat("北京", "火锅", "海底捞"), {Shell("http://bj.meituan.com/s/海底捞/")}},
        {"杭州的片儿川", eat("杭州", "片儿川"), {Shell("http://hangzhou.meituan.com/s/片儿川/")}},
        {"附近的火锅", eat(nullptr, "火锅"), {City("上海市"), Shell("http://sh.meituan.com/s/火锅/")}},
        // 仁兴 holds the bytes of 市 across its two characters; nothing is cut.
        {"仁兴的火锅", eat("仁兴", "火锅"), {Shell("http://renxing.meituan.com/s/火锅/")}},
        // Nothing to search for: the city's own page rather than an empty search.
        {"北京的美食", Slot("city", "北京", "北京"), {Shell("http://bj.meituan.com")}},
        {"附近的火锅", eat(nullptr, "火锅"), {City(""), Shell("http://www.meituan.com")}, ""},
        // A slot never chooses the host, nor leaves its path segment.
        {"x的火锅", eat("evil.example/#", "火锅"), {Shell("http://www.meituan.com/s/火锅/")}},
        {"x的火锅", eat("evil", "a b\"/#?&"), {Shell("http://evil.meituan.com/s/a%20b%22%2F%23%3F%26/")}},
    });
}

TEST_F(EverydayTest, CookbookStockAndTranslationPages) {
    const std::string dish = Slot("dishName", "红烧肉"), ingredient = Slot("ingredient", "鸡蛋"),
                      keyword = Slot("keyword", "家常菜");
    Check<VeJsonCookbook>("cookbook", {
        {"红烧肉怎么做", ingredient + "," + dish, {Shell("http://www.meishij.net/zuofa/hongshaorou.html")}},
        {"鸡蛋能做什么", keyword + "," + ingredient, {Shell("http://so.meishi.cc/index.php?q=" + Enc("鸡蛋"))}},
        {"家常菜", keyword, {Shell("http://so.meishi.cc/index.php?q=" + Enc("家常菜"))}},
        {"菜谱", "", {Shell("http://www.meishij.net/")}},
        {"x怎么做", Slot("dishName", "x/../y z\""), {Shell("http://www.meishij.net/zuofa/x%2F..%2Fy%20z%22.html")}},
    });
    // Shenzhen and Shanghai shares have their page; any other market is taken for Hong Kong.
    const auto share = [](const char* code, const char* market) { return Slot("code", code) + "," + Slot("market", market); };
    const std::string hexun = "http://stockdata.stock.hexun.com/";
    Check<VeJsonStock>("stock", {
        {"平安银行股价", share("000001", "sz"), {Shell(hexun + "gghq_000001.shtml")}},
        {"茅台股价", share("600519", "sh"), {Shell(hexun + "gghq_600519.shtml")}},
        {"股价", share("00700", "SZ"), {Shell(hexun + "urwh/hkstock/00700.shtml")}},
        {"腾讯的股价", Slot("name", "腾讯"), {Shell("http://stock.hexun.com/")}},
        {"股价", share("1/../x?y#", "sz"), {Shell(hexun + "gghq_1%2F..%2Fx%3Fy%23.shtml")}},
    });
    const auto into = [](const char* target) { return Slot("content", "你好") + "," + Slot("target", target); };
    const std::string fanyi = "http://fanyi.baidu.com/?aldtype=16047#zh/";
    Check<VeJsonTranslation>("translation", {
        {"日语", into("ja"), {Shell(fanyi + "jp/" + Enc("你好"))}}, {"法语", into("fr"), {Shell(fanyi + "fra/" + Enc("你好"))}},
        {"西班牙语", into("es"), {Shell(fanyi + "spa/" + Enc("你好"))}}, {"英语", into("en"), {Shell(fanyi + "en/" + Enc("你好"))}},
        {"翻译", Slot("target", "en"), {Shell("http://fanyi.baidu.com/")}},
        {"英语", into("en/x#y z"), {Shell(fanyi + "en%2Fx%23y%20z/" + Enc("你好"))}},
    });
}

TEST_F(EverydayTest, CourierAndShoppingAskTheHostFirst) {
    sim->State().websites = {{"顺丰快递", "https://www.sf-express.com/"}, {"圆通", "https://www.yto.net.cn/"},
                             {"淘宝手机", "https://s.taobao.com/"}};
    const std::string hao123 = Shell("http://www.hao123.com/kuaidi/");
    Check<VeJsonExpressage>("courier", {
        {"京东", Slot("courierCompany", "京东"), {Shell("https://www.jd.com/")}},
        {"圆通快递", Slot("courierCompany", "圆通"), {Site("圆通", true)}},
        {"查顺丰", Slot("courierCompany", "顺丰"), {Site("顺丰", false), Site("顺丰快递", true)}},
        {"京东快递", Slot("courierCompany", "京东"), {Site("京东", false), Site("京东快递", false), hao123}},
    });
    const std::string jdPhone = Shell("http://search.jd.com/search?keyword=" + Enc("手机") + "&enc=utf-8");
    Check<VeJsonShopping>("online_shopping", {
        {"淘宝买手机", Slot("website", "淘宝") + "," + Slot("commodity", "手机"), {Site("淘宝手机", true)}},
        {"打开淘宝", Slot("website", "淘宝"), {Site("淘宝", false), Shell("https://www.taobao.com")}},
        {"买手机", Slot("shopping", "手机"), {Site("手机", false), jdPhone}},
        {"天猫买苹果手机", Slot("website", "天猫", "tmall") + "," + Slot("commodity", "苹果手机", "手机"),
         {Site("tmall手机", false), Shell("https://list.tmall.com/search_product.htm?q=" + Enc("手机"))}},
        {"购物", "", {Site("", false), Shell("https://www.jd.com")}},
    });
}

TEST(EverydayTextTest, CutsOnlyWholeCharacters) {
    EXPECT_EQ(Utf8(WithoutLastChar(Gbk("苏州市"), GBK("市"))), "苏州");
    EXPECT_EQ(Utf8(WithoutLastChar(Gbk("市"), GBK("市"))), "");
    EXPECT_EQ(WithoutLastChar("", GBK("市")), "");
    // A trail byte and a stray lead byte spell 市 without being one.
    const std::string stray = Gbk("上海仁") + "\xD0";
    EXPECT_EQ(WithoutLastChar(stray, GBK("市")), stray);
    EXPECT_EQ(Utf8(BeforeFirst(Gbk("仁兴市"), GBK("市"))), "仁兴");
}

TEST(EverydayTextTest, APlaceIsSaidWithOrWithoutItsSuffix) {
    const struct { const char* text; const char* name; bool said; } cases[] = {
        {"查看北京今天的天气", "北京市", true}, {"广东明天天气怎么样", "广东省", true},
        {"新疆天气", "新疆维吾尔自治区", true}, {"广西天气", "广西壮族自治区", true}, {"宁夏天气", "宁夏回族自治区", true},
        {"内蒙古天气", "内蒙古自治区", true}, {"香港天气", "香港特别行政区", true}, {"海淀天气", "海淀区", true},
        {"武义天气", "武义县", true}, {"延边天气", "延边朝鲜族自治州", true}, {"恩施天气", "恩施土家族苗族自治州", true},
        {"巴音郭楞天气", "巴音郭楞蒙古自治州", true}, {"长阳天气", "长阳土家族自治县", true},
        {"积石山天气", "积石山保安族东乡族撒拉族自治县", true}, {"阿里天气", "阿里地区", true},
        {"锡林郭勒天气", "锡林郭勒盟", true}, {"浦东天气", "浦东新区", true}, {"北京市天气", "北京市", true},
        // Never down to one character or nothing, never across characters.
        {"沙发", "沙县", false}, {"天气", "市", false}, {"天气", "", false}, {"南京天气", "北京市", false},
        {"仁兴天气", "兴市", false}, {"朝鲜天气", "延边朝鲜族自治州", false},
    };
    for (const auto& c : cases) EXPECT_EQ(SaidIn(Gbk(c.text), Gbk(c.name)), c.said) << c.text << " / " << c.name;
}

}  // namespace
