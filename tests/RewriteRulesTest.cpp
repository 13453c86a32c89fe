// The rules that give a text the semantic engine did not understand a meaning: software,
// train tickets, web search, film and song titles. Checked on the document each rule writes
// and, through ProcessM, on the scene it leads to and what the desktop saw.
#include <ostream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "factory/RewriteRules.h"
#include "host/VeChar.h"
#include "host/VeJson.h"
#include "scenes/semantic/SemanticSlots.h"
#include "vescene/CVeSceneFactory.h"

using namespace vetest;

namespace {

using Lines = std::vector<std::string>;

std::string Q(const std::string& utf8) { return vesim::JsonQuote(utf8); }
std::string Gbk(const std::string& utf8) { return VeChar::VeUtf8_2_UnicodeChar(utf8); }
std::string Utf8(const std::string& gbk) { return VeChar::VeUnicodeChar_2_Utf8(gbk); }

// A recognised text the engine gave no meaning, as the dispatcher holds it (GBK).
VeJson NotUnderstood(const std::string& utf8Text, const std::string& extra = "") {
    VeJson doc(("{\"text\":" + Q(utf8Text) + ",\"rc\":4" + extra + "}").c_str());
    doc.Utf8ToUnicode();
    return doc;
}

const std::string kBaidu = "https://www.baidu.com/s?wd=";

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


// ---------------------------------------------------------------- software

struct SoftwareCase {
    const char* text;
    const char* application;  // nullptr: the rule does not apply
    const char* action;
};

class SoftwareRuleTest : public SimTest, public ::testing::WithParamInterface<SoftwareCase> {};

TEST_P(SoftwareRuleTest, WritesApplicationAndAction) {
    const auto& c = GetParam();
    VeJson doc = NotUnderstood(c.text);
    EXPECT_EQ(RewriteSoftware(Gbk(c.text), doc), c.application != nullptr);
    EXPECT_EQ(Readable(Trace()), Lines{"CDataFactory::SetNormal(true)"});
    if (!c.application) {
        EXPECT_EQ(doc.Get("service"), "");
        return;
    }
    EXPECT_EQ(Utf8(SlotValue(doc, "application")), c.application);
    EXPECT_EQ(Utf8(SlotNormValue(doc, "action")), c.action);
    EXPECT_EQ(doc.Get("service"), "application");
}

INSTANTIATE_TEST_SUITE_P(
    Rewrite, SoftwareRuleTest,
    ::testing::Values(SoftwareCase{"打开微信", "微信", "打开"}, SoftwareCase{"退出QQ", "QQ", "关闭"},
                      SoftwareCase{"关闭迅雷", "迅雷", "关闭"}, SoftwareCase{"下载网易云音乐", "网易云音乐", "下载"},
                      SoftwareCase{"安装微信", "微信", "下载"}, SoftwareCase{"卸载QQ", "QQ", "卸载"},
                      // Close comes before download, whatever the order in the text.
                      SoftwareCase{"下载完了就关闭微信", "微信", "关闭"},
                      SoftwareCase{"安装好迅雷然后退出", "迅雷", "关闭"},
                      // Within a group the first name in table order (GBK bytes) wins.
                      SoftwareCase{"打开迅雷和微信", "微信", "打开"},
                      SoftwareCase{"打开迅雷和网易云音乐", "网易云音乐", "打开"},
                      SoftwareCase{"打开微信和QQ", "QQ", "打开"},
                      // A trigger without a known name, or a name without a trigger.
                      SoftwareCase{"打开记事本", nullptr, nullptr}, SoftwareCase{"微信", nullptr, nullptr},
                      SoftwareCase{"qq打开", nullptr, nullptr},
                      // The bytes of 迅雷 occur across the characters of 把咐住, the name does not.
                      SoftwareCase{"打开把咐住", nullptr, nullptr},
                      SoftwareCase{"鞍沧啊微信", nullptr, nullptr}));

TEST_F(SoftwareRuleTest, KeepsAServiceTheDocumentHas) {
    VeJson doc = NotUnderstood("打开微信", R"(,"service":"weather")");
    ASSERT_TRUE(RewriteSoftware(Gbk("打开微信"), doc));
    EXPECT_EQ(doc.Get("service"), "weather");
    EXPECT_EQ(Utf8(SlotValue(doc, "application")), "微信");
}

// ---------------------------------------------------------------- the rules in order, through ProcessM

struct RuleCase {
    const char* name;
    const char* text;
    const char* scene;
    VeProcessState result;
    std::vector<std::string> opened;  // UTF-8 URLs
};

class RuleOrderTest : public SimTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(RuleOrderTest, FirstMatchingRuleDecidesTheScene) {
    const auto& c = GetParam();
    const std::string input = "{\"text\":" + Q(c.text) + ",\"rc\":4}";
    CVeSceneFactory factory;
    EXPECT_EQ(factory.ProcessM(input.c_str(), IatAPI_Default, true), c.result);
    EXPECT_EQ(factory.GetScene(), c.scene);
    EXPECT_EQ(Opened(), c.opened);

    // The software rule always runs first, then the utterance is shown and routed.
    auto trace = Readable(Trace());
    ASSERT_GE(trace.size(), 5u);
    EXPECT_EQ(trace[0], "CDataFactory::SetNormal(true)");
    EXPECT_EQ(trace[1], "VeUI::InteractiveSet(null, 3)");
    EXPECT_EQ(trace[2], "VeUI::Tray(" + Q(c.text) + ", 1)");
    const std::string log = c.result == ProcessDone ? "VeUI::Log_2(" + Q(c.text) + ", 11)"
                                                    : "VeUI::Log_2(" + Q(c.text) + ", 28)";
    EXPECT_EQ(trace.back(), log);
}

INSTANTIATE_TEST_SUITE_P(
    Rewrite, RuleOrderTest,
    ::testing::Values(
        RuleCase{"Software", "打开微信", "application", ProcessUnhandled, {}},
        RuleCase{"SoftwareBeforeSearch", "百度打开QQ", "application", ProcessUnhandled, {}},
        RuleCase{"SoftwareBeforeTrain", "安装火车票软件微信", "application", ProcessUnhandled, {}},
        RuleCase{"Train", "我要买火车票", "train", ProcessUnhandled, {}},
        RuleCase{"TrainHighSpeed", "动车票", "train", ProcessUnhandled, {}},
        RuleCase{"TrainBeforeSearch", "查询火车票", "train", ProcessUnhandled, {}},
        RuleCase{"OpenWithoutNameFallsThrough", "打开火车票", "train", ProcessUnhandled, {}},
        RuleCase{"NoTrainWord", "火车", "rc=4", ProcessUnhandled, {}},
        RuleCase{"Search", "百度一下周杰伦", "baidusearch", ProcessDone,
                 {kBaidu + "%E5%91%A8%E6%9D%B0%E4%BC%A6&enc=utf-8"}},
        RuleCase{"SearchAfterOpenWithoutName", "打开搜索北京", "baidusearch", ProcessDone,
                 {kBaidu + "%E5%8C%97%E4%BA%AC&enc=utf-8"}},
        RuleCase{"SearchEmptyKeyword", "百度一下", "baidusearch", ProcessDone, {"https://www.baidu.com/"}},
        RuleCase{"SearchAsciiKeyword", "搜一下 C++ & Go", "baidusearch", ProcessDone,
                 {kBaidu + "%20C%2B%2B%20%26%20Go&enc=utf-8"}},
        RuleCase{"SearchBeforeFilm", "搜索流浪地球", "baidusearch", ProcessDone,
                 {kBaidu + "%E6%B5%81%E6%B5%AA%E5%9C%B0%E7%90%83&enc=utf-8"}},
        RuleCase{"Film", "流浪地球", "VELMORA.video", ProcessUnhandled, {}},
        RuleCase{"OtherFilm", "霸王别姬", "VELMORA.video", ProcessUnhandled, {}},
        RuleCase{"FilmPlusOne", "流浪地球2", "rc=4", ProcessUnhandled, {}},
        RuleCase{"FilmPart", "流浪", "rc=4", ProcessUnhandled, {}},
        RuleCase{"Song", "稻香", "VELMORA.music", ProcessUnhandled, {}},
        RuleCase{"OtherSong", "后来", "VELMORA.music", ProcessUnhandled, {}},
        RuleCase{"SongPlusOne", "后来的", "rc=4", ProcessUnhandled, {}},
        RuleCase{"Nothing", "今天星期几", "rc=4", ProcessUnhandled, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- web search phrases

struct SearchCase {
    const char* name;
    const char* text;
    const char* keyword;  // nullptr: no phrase
};

class WebSearchRuleTest : public SimTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(WebSearchRuleTest, KeywordFollowsTheFirstListedPhrase) {
    const auto& c = GetParam();
    VeJson doc = NotUnderstood(c.text);
    EXPECT_EQ(RewriteWebSearch(Gbk(c.text), doc), c.keyword != nullptr);
    if (!c.keyword) {
        EXPECT_EQ(doc.Get("service"), "");
        return;
    }
    EXPECT_EQ(doc.Get("service"), "baidusearch");
    EXPECT_EQ(Utf8(doc.Get("velmoraKeyword")), c.keyword);
}

INSTANTIATE_TEST_SUITE_P(
    Rewrite, WebSearchRuleTest,
    ::testing::Values(SearchCase{"BaiduOnce", "百度一下天气", "天气"},
                      SearchCase{"BaiduSearch", "百度搜索天气", "天气"},
                      SearchCase{"BaiduOpen", "百度打开天气", "天气"},
                      // Longer phrases are listed before the phrases they contain.
                      SearchCase{"SearchOnce", "搜索一下天气", "天气"},
                      SearchCase{"QueryOnce", "查询一下天气", "天气"},
                      SearchCase{"SearchBrief", "搜一下天气", "天气"},
                      SearchCase{"CheckOnce", "查一下天气", "天气"},
                      SearchCase{"FindOnce", "找一下天气", "天气"},
                      SearchCase{"Search", "搜索天气", "天气"},
                      SearchCase{"Find", "查找天气", "天气"},
                      SearchCase{"Query", "查询天气", "天气"},
                      // List order decides, not the position in the text.
                      SearchCase{"ListOrderNotPosition", "帮我搜索查询一下快递", "快递"},
                      SearchCase{"LaterPhraseKeptInKeyword", "查一下搜索引擎", "搜索引擎"},
                      SearchCase{"FirstOccurrence", "查找查找文件", "查找文件"},
                      SearchCase{"PhraseAtEnd", "请帮我查询", ""},
                      SearchCase{"NoPhrase", "天气怎么样", nullptr},
                      SearchCase{"SearchWithoutWord", "搜狗", nullptr},
                      // The bytes of 搜索 occur across the characters of 八阉鳌, the phrase does not.
                      SearchCase{"NoPhraseAcrossCharacters", "八阉鳌", nullptr},
                      SearchCase{"PhraseAfterLookalike", "八阉鳌搜索天气", "天气"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- train, film and song documents

class TitleRuleTest : public SimTest {};

TEST_F(TitleRuleTest, RulesWriteTheirFields) {
    struct {
        const char* text;
        bool (*rule)(const std::string&, VeJson&);
        const char* service;
        const char* slot;  // slot name holding the text, nullptr for none
    } cases[] = {
        {"订一张火车票", RewriteTrainTicket, "train", nullptr},
        {"动车票还有吗", RewriteTrainTicket, "train", nullptr},
        {"流浪地球", RewriteFilmTitle, "VELMORA.video", "video"},
        {"霸王别姬", RewriteFilmTitle, "VELMORA.video", "video"},
        {"稻香", RewriteSongTitle, "VELMORA.music", "song"},
        {"后来", RewriteSongTitle, "VELMORA.music", "song"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        VeJson doc = NotUnderstood(c.text);
        ASSERT_TRUE(c.rule(Gbk(c.text), doc));
        EXPECT_EQ(doc.Get("service"), c.service);
        if (c.slot) {
            EXPECT_EQ(Utf8(SlotValue(doc, c.slot)), c.text);
        }
    }
    VeJson film = NotUnderstood("流浪地球");
    RewriteFilmTitle(Gbk("流浪地球"), film);
    EXPECT_EQ(film.Get("semantic^intent"), "video");
}

TEST_F(TitleRuleTest, TitlesMatchOnlyWhole) {
    for (const char* text : {"流浪地球2", "看流浪地球", "流浪", "霸王别姬 ", "稻香村", "后", ""}) {
        SCOPED_TRACE(text);
        VeJson doc = NotUnderstood(text);
        EXPECT_FALSE(RewriteFilmTitle(Gbk(text), doc));
        EXPECT_FALSE(RewriteSongTitle(Gbk(text), doc));
        EXPECT_EQ(doc.Get("service"), "");
    }
}

// ---------------------------------------------------------------- when the rules run

class RuleGateTest : public SimTest {};

TEST_F(RuleGateTest, RulesRunOnlyForRc4OrNoService) {
    struct {
        const char* input;
        const char* scene;
        bool searched;
    } cases[] = {
        {R"({"text":"搜索天气","rc":0,"service":"weather"})", "weather", false},
        {R"({"text":"搜索天气","rc":4,"service":"weather"})", "baidusearch", true},
        {R"({"text":"搜索天气","rc":0})", "baidusearch", true},
        {R"({"text":"搜索天气","rc":0,"service":"openQA","answer":{"text":""}})", "openQA", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        sim->ClearTrace();
        CVeSceneFactory factory;
        factory.ProcessM(c.input, IatAPI_Default, true);
        EXPECT_EQ(factory.GetScene(), c.scene);
        EXPECT_EQ(EventsOf("CDataFactory::SetNormal").size(), c.searched ? 1u : 0u);
        EXPECT_EQ(Opened(), c.searched ? Lines{kBaidu + "%E5%A4%A9%E6%B0%94&enc=utf-8"} : Lines{});
    }
}

}  // namespace
