// The offline understanding: which texts become which service and slots (one table per family),
// what is left alone, the dates as the engine writes them, broken templates and bad input, the
// ProcessM hook, and the eval of the dev set.
#include <fstream>
#include <map>
#include <sstream>

#include "TestSupport.h"
#include "platform/HostConfigTable.h"
#include "understanding/Understanding.h"
#include "vescene/CVeSceneFactory.h"
#include "vescene/Understand.h"
#include "vescene/vescene.h"

using namespace vetest;

namespace {

const char* const kMonday = "2026-12-07";

// The result in short: "service intent name=value ..." with normValues where they differ, or "-".
std::string Reading(const std::string& text, const std::string& today = kMonday) {
    const auto result = understanding::Understand(*understanding::InstalledGrammar(), text, [&] { return today; });
    if (!result) return "-";
    VeJson doc(result->json.c_str());
    std::vector<std::string> names, values;
    std::string out = result->service + " " + result->intent;
    doc.GetNodeTextVector("semantic^slots^name", names);
    for (const std::string& name : names) {
        const std::string value = doc.GetBrotherLeaf("semantic^slots^name", name.c_str(), "semantic^slots^value", 2);
        const std::string norm = doc.GetBrotherLeaf("semantic^slots^name", name.c_str(), "semantic^slots^normValue", 2);
        out += " " + name + "=" + value + (norm.empty() || norm == value ? "" : ">" + norm);
    }
    return out;
}

struct Row {
    const char* text;
    const char* reading;
};

void CheckRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) EXPECT_EQ(Reading(row.text), row.reading) << row.text;
}

TEST(UnderstandingTest, WeatherAndTravel) {
    const std::string tomorrow = R"(startDate=明天>{"datetime":"2026-12-08","suggestDatetime":"2026-12-08"})";
    CheckRows({
        {"北京明天天气怎么样", "weather QUERY location.province=北京市 location.provinceAddr=北京 location.city=北京市 "
                               "location.cityAddr=北京"},
        {"明天会下雪吗", "weather QUERY location.city=CURRENT_CITY location.poi=CURRENT_POI"},
        {"朝阳区冷不冷", "weather QUERY location.province=北京市 location.provinceAddr=北京 location.city=北京市 "
                         "location.cityAddr=北京 location.area=朝阳区 location.areaAddr=朝阳区"},
        {"订火车票", "train QUERY startLoc.city=CURRENT_CITY"},
        {"从上海虹桥到北京南的高铁", "train QUERY startLoc.poi=上海虹桥 endLoc.poi=北京南"},
        {"十二月二十号去三亚的机票从哈尔滨出发",
         R"(flight QUERY startDate=十二月二十号>{"datetime":"2026-12-20","suggestDatetime":"2026-12-20"} )"
         "startLoc.city=哈尔滨市 startLoc.cityAddr=哈尔滨 endLoc.city=三亚市 endLoc.cityAddr=三亚"},
        {"后天去成都的航班", R"(flight QUERY startDate=后天>{"datetime":"2026-12-09","suggestDatetime":"2026-12-09"} )"
                             "startLoc.city=CURRENT_CITY endLoc.city=成都市 endLoc.cityAddr=成都"},
        {"帮我订一下西安的酒店", "VELMORA.accommodation city city=西安"},
        {"附近的酒店", "hotelSearch QUERY location.city=CURRENT_CITY location.poi=CURRENT_POI"},
        {"北京西站附近的酒店", "hotelSearch QUERY location.poi=北京西站 location.city=北京"},
        {"去首都机场怎么走", "mapU ROUTE endLoc.ori_loc=首都机场"},
        {"澳大利亚在地图上什么位置", "mapping LOCATE country=澳大利亚"},
        {"延边朝鲜族自治州的地图", "mapping QUERY city=延边朝鲜族自治州"},
    });
    EXPECT_EQ(Reading("明天南京到上海的火车"),
              "train QUERY startLoc.city=南京市 startLoc.cityAddr=南京 endLoc.cityAddr=上海 " + tomorrow);
}

TEST(UnderstandingTest, Media) {
    CheckRows({
        {"我想听周杰伦的稻香", "musicX PLAY artist=周杰伦 song=稻香"},
        {"来首小幸运", "musicX PLAY song=小幸运"},
        {"放一首歌", "musicX PLAY"},
        {"这首不好听，切下一首", "musicX INSTRUCTION insType=next"},
        {"音量调到五十", "musicX INSTRUCTION insType=volume_select series=50"},
        {"把声音调小一点", "musicX INSTRUCTION insType=volume_minus"},
        {"播放周星驰的大话西游", "video QUERY name=大话西游 artist=周星驰"},
        {"我想看电影", "video QUERY category=电影"},
        {"用优酷看电视剧庆余年", "VELMORA.video tv_series tvSeries=庆余年 platform=优酷"},
        {"我想看看新浪的财经新闻", "news PLAY media=新浪 category=财经"},
        {"腾讯新闻有什么头条", "news PLAY media=腾讯"},
        {"最近微博上有什么热搜", "VELMORA.currentHot currentHot currenthot=微博热搜"},
    });
}

TEST(UnderstandingTest, Everyday) {
    CheckRows({
        {"我想在淘宝买双运动鞋", "VELMORA.shopping online_shopping website=淘宝 commodity=运动鞋"},
        {"帮我买两斤砂糖橘", "online_shopping QUERY commodity=砂糖橘"},
        {"中通的单号七五三一二零零八六六四五，物流到哪了", "courier QUERY courierCompany=中通"},
        {"六零零五一九现在多少钱一股", "stock QUERY code=600519 market=sh name=贵州茅台"},
        {"查一下茅台的股价", "stock QUERY code=600519 market=sh name=贵州茅台"},
        {"上海徐家汇那边哪里有咖啡馆", "VELMORA.life round_service roundService=咖啡馆 city=上海 area=徐家汇"},
        {"我想吃海底捞，帮我看看北京朝阳区有没有", "eat_out QUERY restaurant=海底捞 city=北京>北京市 area=朝阳区"},
        {"教我做一道糖醋排骨", "cookbook QUERY dishName=糖醋排骨"},
        {"冰箱里还剩几个茄子，能做点什么菜", "cookbook QUERY ingredient=茄子"},
        {"西班牙语的早上好怎么说", "translation TRANSLATION content=早上好 source=cn target=es"},
        {"翻译一下hello world", "translation TRANSLATION content=hello world source=en target=cn"},
    });
}

TEST(UnderstandingTest, ProgramsSitesAndKeys) {
    CheckRows({
        {"启动一下计算器", "application LAUNCH application=计算器 action=启动>打开"},
        {"退出网易云音乐", "application EXIT application=网易云音乐 action=退出>关闭"},
        {"电脑上装一个腾讯会议", "application DOWNLOAD application=腾讯会议 action=装>安装"},
        {"把那个2345浏览器给我卸载了", "application UNINSTALL application=2345浏览器 action=卸载"},
        {"进百度贴吧看看", "website OPEN website=百度贴吧"},
        {"用京东搜索蓝牙耳机", "websearch QUERY channel=jdcom keyword=蓝牙耳机"},
        {"把这一页全部选中", "hotkey hotkey hotkey=全部选中>全选"},
        {"帮我新建一个请假条的模板", "VELMORA.template template template=请假条"},
    });
}

// Chit-chat, and sentences that only hold a service word, are left to the rc 4 path.
TEST(UnderstandingTest, LeavesAlone) {
    for (const char* text : {"我今天心情像天气一样好", "这首歌真好听", "我不想去北京", "天气预报一点都不准", "快递小哥今天又迟到了",
                             "股市最近跌得太厉害了", "北京银行", "放假了", "来一个", "我想听听你的意见", "作业怎么做", "我想买票",
                             "明天", "打开", "你去过上海吗", "我买了一个手机"})
        EXPECT_EQ(Reading(text), "-") << text;
}

TEST(UnderstandingTest, DatesAgainstTheDesktopsDay) {
    struct DateRow {
        const char* said;
        const char* today;
        const char* date;  // the datetime of the normValue; "" for no date
    };
    const std::vector<DateRow> rows = {
        {"今天", kMonday, "2026-12-07"},         {"大后天", kMonday, "2026-12-10"},
        {"下周五", kMonday, "2026-12-18"},       {"周五", kMonday, "2026-12-11"},
        {"下周五", "2026-12-06", "2026-12-18"},  // a Sunday plans the week that starts tomorrow
        {"周一", "2026-12-09", "2026-12-14"},    // passed this week: next week's
        {"这周末", kMonday, "2026-12-12/2026-12-13"},
        {"12月24号", kMonday, "2026-12-24"},     {"一月三号", kMonday, "2027-01-03"},
        {"二零二七年二月二十八日", kMonday, ""}, {"2027年2月28日", kMonday, "2027-02-28"},
        {"2月30号", kMonday, ""},                {"5号", kMonday, "2027-01-05"},
        {"明天", "not a date", ""},              {"十三月一号", kMonday, ""},
    };
    for (const DateRow& row : rows) {
        const auto dates = understanding::ReadDates(row.said, [&] { return std::string(row.today); });
        const std::string date = dates.empty() || dates.front().length != std::string(row.said).size()
                                     ? ""
                                     : VeJson(dates.front().normValue.c_str()).Get("datetime");
        EXPECT_EQ(date, row.date) << row.said << " on " << row.today;
    }
}

// Broken files cost only their own service, each told once with its file and line; bad text is
// simply not understood.
TEST(UnderstandingTest, BadTemplatesAndInput) {
    const std::map<std::string, std::string> files = {
        {"common.txt", "rule prefix = [请]\nlist place = 北京 | 上海\n"},
        {"index.txt", "good.txt\nbroken.txt\nnolist.txt\nmissing.txt\nunnamed.txt\n../escape.txt\n"},
        {"good.txt", "service weather\nintent QUERY\nslot city {place}\nsentence {place}天气\n"},
        {"broken.txt", "service news\nintent PLAY\n\nsentence (新闻|资讯\n"},
        {"nolist.txt", "service stock\nlist stock file=lists/none.csv key=name\n"},
        {"unnamed.txt", "intent X\nsentence 你好\n"},
    };
    const auto grammar = understanding::LoadGrammar([&](const std::string& name) -> std::optional<std::string> {
        auto it = files.find(name);
        return it == files.end() ? std::nullopt : std::optional(it->second);
    });
    EXPECT_EQ(grammar->problems, (Lines{"broken.txt: line 4: missing )",
                                        "nolist.txt: line 2: list stock: cannot read lists/none.csv",
                                        "missing.txt: cannot be read", "unnamed.txt: no service line",
                                        "../escape.txt: cannot be read"}));
    const auto today = [] { return std::string(kMonday); };
    ASSERT_TRUE(understanding::Understand(*grammar, "请北京天气", today));
    EXPECT_FALSE(understanding::Understand(*grammar, "新闻", today));
    for (const std::string& text : {std::string(1 << 20, 'a'), std::string("\xE5\x8C\x97\xFF天气"), std::string(), std::string("，。")})
        EXPECT_FALSE(understanding::Understand(*grammar, text, today));
}

// The host configuration file's switch: a boolean at the top, nothing else.
TEST(UnderstandingTest, HostConfigurationSwitch) {
    struct FlagRow {
        const char* json;
        std::optional<bool> flag;
        bool malformed;
    };
    const std::vector<FlagRow> rows = {
        {R"({"understanding": true})", true, false},
        {"\xEF\xBB\xBF{\"understanding\": false, \"websites\": {}}", false, false},
        {R"({"understanding": "yes"})", std::nullopt, false},
        {R"({"endpoints": {"understanding": true}})", std::nullopt, false},
        {R"(["understanding", true])", std::nullopt, true},
        {"{\"understanding\": tru", std::nullopt, true},
    };
    for (const FlagRow& row : rows) {
        bool malformed = false;
        EXPECT_EQ(vehostconfig::FindFlag(row.json, "understanding", malformed), row.flag) << row.json;
        EXPECT_EQ(malformed, row.malformed) << row.json;
    }
}

// Only a result without a service is understood, only when it is on; the understood result runs as
// the engine's own, and what no template covers takes today's rc 4 path.
TEST(UnderstandingTest, ProcessMUnderstandsWhenOn) {
    struct HookRow {
        bool on;
        const char* input;
        const char* scene;
    };
    const std::vector<HookRow> rows = {
        {true, R"({"text":"北京明天天气怎么样","rc":4})", "weather"},
        {true, R"({"text":"附近有没有理发店"})", "round_service"},
        {false, R"({"text":"北京明天天气怎么样","rc":4})", "rc=4"},
        {true, R"({"text":"我今天心情像天气一样好","rc":4})", "rc=4"},
        {true, R"({"text":"北京明天天气怎么样","rc":0,"service":"news"})", "news"},
    };
    for (const HookRow& row : rows) {
        vesim::ScopedSim sim;
        ASSERT_EQ(VeScene_SetUnderstanding(row.on), 1);
        CVeSceneFactory factory;
        factory.ProcessM(row.input, IatAPI_CloudSemantic, false);
        EXPECT_EQ(factory.GetScene(), row.scene) << row.input;
        if (std::string(row.scene) == "weather")
            EXPECT_EQ(Only(sim->Trace(), [](const std::string& c) { return c == "CUtil::SearchInBaidu_unicode"; }),
                      Lines{R"(CUtil::SearchInBaidu_unicode("北京 天气"))"});
    }
    VeScene_SetUnderstanding(0);
}

// The dev set: the text alone does on the desktop what the engine's result does.
TEST(UnderstandingTest, DevSetEval) {
    std::ifstream dev(VESCENE_DATA_SOURCES "/../../shared/understanding/dev.jsonl");
    if (!dev) GTEST_SKIP() << "no dev set beside the source tree";
    std::ostringstream out, err;
    const EvalCount count = EvalCases(dev, out, err);
    EXPECT_TRUE(count.ok) << err.str();
    EXPECT_GE(count.matches, 64) << out.str();
    EXPECT_EQ(count.negativesUnderstood, 0) << out.str();
}

}  // namespace
