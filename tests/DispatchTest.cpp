// ProcessM's dispatch paths, observed on the simulated desktop's trace: refusal of bad
// input, the choice between the semantic and the TPP dispatcher, the offline fallback, the
// user's own commands and main-window words, and the scene names the dispatchers settle on.
#include <ostream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "host/VeJson.h"
#include "vescene/CVeSceneFactory.h"

using namespace vetest;

namespace {

using Lines = std::vector<std::string>;

std::string Q(const std::string& utf8) { return vesim::JsonQuote(utf8); }

// The events every routed utterance starts with.
Lines Shown(const std::string& utf8Text) {
    return {"VeUI::InteractiveSet(null, 3)", "VeUI::Tray(" + Q(utf8Text) + ", 1)",
            "CAccountData::OpenUserSelf(" + Q(utf8Text) + ") -> false"};
}

Lines Concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Lines kRecognitionError = {R"(VeUI::Tray("__识别出错__", 1))", R"(VeUI::Log("__识别出错__", 6))"};
const Lines kSpeechFailure = {R"(VeUI::Tray("__语音识别失败__", 1))", R"(VeUI::Log("__语音识别失败__", 6))"};

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


// ---------------------------------------------------------------- bad input

struct BadInputCase {
    const char* name;
    std::string input;
    bool null = false;
};

class BadInputTest : public SimTest, public ::testing::WithParamInterface<BadInputCase> {};

TEST_P(BadInputTest, FailsWithOneReportAndKeepsTheLastUtterance) {
    const auto& c = GetParam();
    for (IatAPI api : {IatAPI_Default, IatAPI_CloudSemantic}) {
        SCOPED_TRACE(api);
        CVeSceneFactory factory;
        ASSERT_EQ(factory.ProcessM(R"({"text":"上一句","rc":0,"service":"weather"})", api, true), ProcessUnhandled);
        ASSERT_EQ(factory.GetScene(), "weather");
        sim->ClearTrace();

        EXPECT_EQ(factory.ProcessM(c.null ? nullptr : c.input.c_str(), api, true), ProcessFailed);
        EXPECT_EQ(Readable(Trace()), kRecognitionError);
        EXPECT_EQ(factory.GetScene(), "weather");
        EXPECT_EQ(factory.GetText_utf8(), "上一句");
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProcessM, BadInputTest,
    ::testing::Values(BadInputCase{"Null", "", true}, BadInputCase{"Empty", ""}, BadInputCase{"Blank", "  \r\n"},
                      BadInputCase{"Truncated", R"({"text":"打开)"},
                      BadInputCase{"TruncatedObject", R"({"text":"打开记事本","rc":)"},
                      BadInputCase{"TruncatedUtf8", "{\"text\":\"\xE6\x89\"}"},
                      BadInputCase{"InvalidByte", "{\"text\":\"\xFF\xFE\"}"},
                      BadInputCase{"Overlong", "{\"text\":\"\xC0\xAF\"}"},
                      BadInputCase{"EncodedSurrogate", "{\"text\":\"\xED\xA0\x80\"}"},
                      BadInputCase{"TwoDocuments", R"({"text":"a"} {"text":"b"})"},
                      BadInputCase{"DeepNesting", std::string(100000, '[') + std::string(100000, ']')},
                      BadInputCase{"DeepObjects", [] {
                                       std::string s;
                                       for (int i = 0; i < 65; ++i) s += "{\"a\":";
                                       return s + "1" + std::string(65, '}');
                                   }()}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- choosing the dispatcher

struct EntryCase {
    const char* name;
    IatAPI api;
    const char* fromType;  // JSON text of the value, nullptr for absent
    const char* scene;
};

class EntryTest : public SimTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(EntryTest, FromTypeChoosesTheDispatcherUnlessTheEngineIsSemantic) {
    const auto& c = GetParam();
    std::string input = R"({"text":"没有这个命令","rc":0,"service":"semanticScene","actionType":"tppScene")";
    if (c.fromType) input += std::string(",\"fromType\":") + c.fromType;
    input += "}";
    CVeSceneFactory factory;
    EXPECT_EQ(factory.ProcessM(input.c_str(), c.api, true), ProcessUnhandled);
    EXPECT_EQ(factory.GetScene(), c.scene);
    EXPECT_EQ(Readable(Trace()), Concat(Shown("没有这个命令"), {R"(VeUI::Log_2("没有这个命令", 28))"}));
}

INSTANTIATE_TEST_SUITE_P(
    ProcessM, EntryTest,
    ::testing::Values(EntryCase{"AbsentDefault", IatAPI_Default, nullptr, "semanticScene"},
                      EntryCase{"EmptyDefault", IatAPI_Default, R"("")", "semanticScene"},
                      EntryCase{"NullDefault", IatAPI_Default, "null", "semanticScene"},
                      EntryCase{"TextDefault", IatAPI_Default, R"("thirdParty")", "tppScene"},
                      EntryCase{"NumberDefault", IatAPI_Default, "0", "tppScene"},
                      EntryCase{"FalseDefault", IatAPI_Default, "false", "tppScene"},
                      EntryCase{"TextOtherApi", static_cast<IatAPI>(7), R"("x")", "tppScene"},
                      EntryCase{"AbsentOtherApi", static_cast<IatAPI>(7), nullptr, "semanticScene"},
                      EntryCase{"TextSemanticApi", IatAPI_CloudSemantic, R"("thirdParty")", "semanticScene"},
                      EntryCase{"AbsentSemanticApi", IatAPI_CloudSemantic, nullptr, "semanticScene"}),
    [](const auto& info) { return std::string(info.param.name); });

class FactoryStateTest : public SimTest {};

TEST_F(FactoryStateTest, FreshFactoryHasNoScene) {
    CVeSceneFactory factory;
    EXPECT_EQ(factory.GetScene(), "");
}

TEST_F(FactoryStateTest, CopyKeepsTheSceneAndThenGoesItsOwnWay) {
    CVeSceneFactory first;
    first.ProcessM(R"({"text":"明天天气","rc":0,"service":"weather"})", IatAPI_Default, true);
    CVeSceneFactory copied(first);
    CVeSceneFactory assigned;
    assigned = first;
    EXPECT_EQ(copied.GetScene(), "weather");
    EXPECT_EQ(assigned.GetScene(), "weather");

    copied.ProcessM(R"({"text":"火车票","rc":0,"service":"train"})", IatAPI_Default, true);
    EXPECT_EQ(copied.GetScene(), "train");
    EXPECT_EQ(first.GetScene(), "weather");
    EXPECT_EQ(assigned.GetScene(), "weather");
    first.ProcessM(R"({"text":"笑话","rc":0,"service":"joke"})", IatAPI_Default, true);
    EXPECT_EQ(copied.GetScene(), "train");
    EXPECT_EQ(assigned.GetScene(), "weather");
}

// ---------------------------------------------------------------- no online text: score and offline words

struct OfflineCase {
    const char* name;
    bool network;
    std::string scoreField;  // ",\"sc\":..." or empty
    std::vector<std::string> words;
    VeProcessState result;
    const char* text;  // the offline command text; empty for a failure
    bool speechFailure = false;
};

class OfflineTest : public SimTest, public ::testing::WithParamInterface<OfflineCase> {};

TEST_P(OfflineTest, ScoreGatesTheOfflineResult) {
    const auto& c = GetParam();
    sim->State().network = c.network;
    std::string ws;
    for (const auto& w : c.words) ws += std::string(ws.empty() ? "" : ",") + R"({"cw":[{"w":)" + Q(w) + "}]}";
    std::string input = R"({"text":"")" + c.scoreField + R"(,"ws":[)" + ws + "]}";

    CVeSceneFactory factory;
    factory.ProcessM(R"({"text":"上一句","rc":0,"service":"weather"})", IatAPI_Default, true);
    sim->ClearTrace();
    EXPECT_EQ(factory.ProcessM(input.c_str(), IatAPI_Default, true), c.result);

    Lines expected = {std::string("CEnvironmentMonitor::CheckNet(false) -> ") + (c.network ? "true" : "false")};
    if (c.result == ProcessFailed) {
        expected = Concat(expected, c.speechFailure ? kSpeechFailure : kRecognitionError);
        EXPECT_EQ(factory.GetScene(), "weather");
        EXPECT_EQ(factory.GetText_utf8(), "上一句");
    } else {
        expected = Concat(expected, Concat(Shown(c.text), {"VeUI::Log_2(" + Q(c.text) + ", 28)"}));
        EXPECT_EQ(factory.GetScene(), "offasr");
        EXPECT_EQ(factory.GetText_utf8(), c.text);
    }
    EXPECT_EQ(Readable(Trace()), expected);
}

const std::vector<std::string> kOpenNotepad = {"打开", "记事本"};

INSTANTIATE_TEST_SUITE_P(
    ProcessM, OfflineTest,
    ::testing::Values(
        OfflineCase{"Score44", true, R"(,"sc":"44")", kOpenNotepad, ProcessFailed, "", true},
        OfflineCase{"Score45", true, R"(,"sc":"45")", kOpenNotepad, ProcessUnhandled, "打开记事本"},
        OfflineCase{"NumericScore45", true, R"(,"sc":45)", kOpenNotepad, ProcessUnhandled, "打开记事本"},
        OfflineCase{"FractionBelow", true, R"(,"sc":44.9)", kOpenNotepad, ProcessFailed, "", true},
        OfflineCase{"LeadingSpaceAndTail", true, R"(,"sc":" 60 points")", kOpenNotepad, ProcessUnhandled,
                    "打开记事本"},
        OfflineCase{"PlusSign", true, R"(,"sc":"+50")", kOpenNotepad, ProcessUnhandled, "打开记事本"},
        OfflineCase{"MissingScore", true, "", kOpenNotepad, ProcessFailed, "", true},
        OfflineCase{"NonNumericScore", true, R"(,"sc":"high")", kOpenNotepad, ProcessFailed, "", true},
        OfflineCase{"HugeScore", true, R"(,"sc":"99999999999999999999999")", kOpenNotepad, ProcessUnhandled,
                    "打开记事本"},
        OfflineCase{"HugeNegativeScore", true, R"(,"sc":"-99999999999999999999999")", kOpenNotepad, ProcessFailed,
                    "", true},
        OfflineCase{"NetworkDownScoreZero", false, R"(,"sc":"0")", kOpenNotepad, ProcessUnhandled, "打开记事本"},
        OfflineCase{"NetworkDownNoScore", false, "", {"记事本"}, ProcessUnhandled, "记事本"},
        OfflineCase{"NoWordsGoodScore", true, R"(,"sc":"90")", {}, ProcessFailed, ""},
        OfflineCase{"NoWordsNetworkDown", false, "", {}, ProcessFailed, ""},
        OfflineCase{"LastWordWithoutOpen", false, "", {"关闭", "记事本"}, ProcessUnhandled, "记事本"},
        OfflineCase{"OpenAndLastOfThree", false, "", {"打开", "我的", "文档"}, ProcessUnhandled, "打开文档"},
        OfflineCase{"OpenNotFirst", false, "", {"记事本", "打开"}, ProcessUnhandled, "打开"},
        OfflineCase{"OneLeadingBlankDropped", false, "", {" 记事本"}, ProcessUnhandled, "记事本"}),
    [](const auto& info) { return std::string(info.param.name); });

struct OffAsrCase {
    const char* name;
    const char* doc;
    const char* text;
};

class OffAsrResultTest : public ::testing::TestWithParam<OffAsrCase> {};

TEST_P(OffAsrResultTest, CommandTextOfTheWords) {
    VeJson doc(GetParam().doc);
    ASSERT_TRUE(doc.IsValid());
    EXPECT_EQ(CVeSceneFactory::GetOffAsrResult(doc), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Offline, OffAsrResultTest,
    ::testing::Values(OffAsrCase{"NoWs", R"({"text":""})", ""}, OffAsrCase{"EmptyWs", R"({"ws":[]})", ""},
                      OffAsrCase{"One", R"({"ws":[{"cw":[{"w":"关机"}]}]})", "关机"},
                      OffAsrCase{"OpenPlusLast", R"({"ws":[{"cw":[{"w":"打开"}]},{"cw":[{"w":"计算器"}]}]})",
                                 "打开计算器"},
                      OffAsrCase{"OpenPrefixIsNotOpen",
                                 R"({"ws":[{"cw":[{"w":"打开了"}]},{"cw":[{"w":"计算器"}]}]})", "计算器"},
                      OffAsrCase{"Last", R"({"ws":[{"cw":[{"w":"关闭"}]},{"cw":[{"w":"计算器"}]}]})", "计算器"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- leading blanks

struct BlankCase {
    const char* name;
    const char* input;
    IatAPI api;
    const char* text;
    VeProcessState result;
    const char* scene;
};

class LeadingBlankTest : public SimTest, public ::testing::WithParamInterface<BlankCase> {};

TEST_P(LeadingBlankTest, OnlyTheFirstBlankIsDropped) {
    const auto& c = GetParam();
    CVeSceneFactory factory;
    EXPECT_EQ(factory.ProcessM(c.input, c.api, true), c.result);
    EXPECT_EQ(factory.GetText_utf8(), c.text);
    EXPECT_EQ(factory.GetScene(), c.scene);
    auto trays = Readable(EventsOf("VeUI::Tray"));
    EXPECT_EQ(trays, Lines{"VeUI::Tray(" + Q(c.text) + ", 1)"});
}

INSTANTIATE_TEST_SUITE_P(
    ProcessM, LeadingBlankTest,
    ::testing::Values(BlankCase{"SemanticOne", R"({"text":" 日志","rc":4})", IatAPI_Default, "日志", ProcessDone,
                                "userself"},
                      BlankCase{"SemanticTwo", R"({"text":"  日志","rc":4})", IatAPI_Default, " 日志",
                                ProcessUnhandled, "rc=4"},
                      BlankCase{"TppOne", R"({"text":" 日志","fromType":"x","actionType":"a"})", IatAPI_Default,
                                "日志", ProcessDone, "userself"},
                      BlankCase{"TppTwo", R"({"text":"  日志","fromType":"x","actionType":"a"})", IatAPI_Default,
                                " 日志", ProcessUnhandled, "a"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- the semantic scene name

struct ServiceCase {
    const char* name;
    const char* fields;  // JSON members after "text"
    const char* scene;
    bool rulesTried;
};

class ServiceTest : public SimTest, public ::testing::WithParamInterface<ServiceCase> {};

TEST_P(ServiceTest, SceneNameAndWhetherTheRulesRan) {
    const auto& c = GetParam();
    std::string input = std::string(R"({"text":"明天天气怎么样")") + c.fields + "}";
    CVeSceneFactory factory;
    EXPECT_EQ(factory.ProcessM(input.c_str(), IatAPI_Default, true), ProcessUnhandled);
    EXPECT_EQ(factory.GetScene(), c.scene);
    EXPECT_EQ(factory.GetText_utf8(), "明天天气怎么样");
    Lines expected = Concat(Shown("明天天气怎么样"), {R"(VeUI::Log_2("明天天气怎么样", 28))"});
    if (c.rulesTried) expected.insert(expected.begin(), "CDataFactory::SetNormal(true)");
    EXPECT_EQ(Readable(Trace()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Semantic, ServiceTest,
    ::testing::Values(ServiceCase{"Rc0Weather", R"(,"rc":0,"service":"weather")", "weather", false},
                      ServiceCase{"Rc0TextWeather", R"(,"rc":"0","service":"weather")", "weather", false},
                      ServiceCase{"Rc4Weather", R"(,"rc":4,"service":"weather")", "rc=4", true},
                      ServiceCase{"Rc4TextWeather", R"(,"rc":"4","service":"weather")", "rc=4", true},
                      ServiceCase{"Rc0NoService", R"(,"rc":0)", "rc=4", true},
                      ServiceCase{"Rc0EmptyService", R"(,"rc":0,"service":"")", "rc=4", true},
                      ServiceCase{"Life", R"(,"rc":0,"service":"VELMORA.life","semantic":[{"intent":"hotel"}])",
                                  "hotel", false},
                      ServiceCase{"Shopping",
                                  R"(,"rc":0,"service":"VELMORA.shopping","semantic":[{"intent":"goods"}])", "goods",
                                  false},
                      ServiceCase{"OtherVelmora",
                                  R"(,"rc":0,"service":"VELMORA.video","semantic":[{"intent":"goods"}])",
                                  "VELMORA.video", false},
                      ServiceCase{"WebsearchCase", R"(,"rc":0,"service":"Websearch")", "Websearch", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- user commands and main-window words

struct MainWordCase {
    const char* word;
    int page;  // 0 for a word that is no main-window word
};

class MainWindowWordTest : public SimTest, public ::testing::WithParamInterface<MainWordCase> {};

TEST_P(MainWindowWordTest, OpensThePageInBothDispatchers) {
    const auto& c = GetParam();
    // Scenes that would act if they were reached: an answer and a web search.
    const std::string semantic = R"({"text":)" + Q(c.word) + R"(,"rc":0,"service":"openQA","answer":{"text":"答案"}})";
    const std::string tpp = R"({"text":)" + Q(c.word) + R"(,"fromType":"x","actionType":"openQA"})";
    for (const std::string& input : {semantic, tpp}) {
        SCOPED_TRACE(input);
        sim->ClearTrace();
        CVeSceneFactory factory;
        auto result = factory.ProcessM(input.c_str(), IatAPI_Default, true);
        if (c.page) {
            EXPECT_EQ(result, ProcessDone);
            EXPECT_EQ(factory.GetScene(), "userself");
            EXPECT_EQ(Readable(Trace()), Concat(Shown(c.word), {"VeUI::MainMenu(" + std::to_string(c.page) + ")",
                                                                "VeUI::Log_2(" + Q(c.word) + ", 33)"}));
        } else {
            EXPECT_NE(factory.GetScene(), "userself");
            EXPECT_TRUE(EventsOf("VeUI::MainMenu").empty());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Route, MainWindowWordTest,
                         ::testing::Values(MainWordCase{"打开主窗口", 14}, MainWordCase{"日志", 14},
                                           MainWordCase{"个人命令", 20}, MainWordCase{"用户自定义", 20},
                                           MainWordCase{"录音转文字", 19}, MainWordCase{"个人热词", 21},
                                           MainWordCase{"打开主窗口吧", 0}, MainWordCase{"查看日志", 0},
                                           MainWordCase{"个人", 0}));

class UserCommandTest : public SimTest {};

TEST_F(UserCommandTest, UserCommandWinsOverEverythingElse) {
    sim->State().userCommands = {"日志", "打开我的文档"};
    struct {
        const char* input;
        const char* text;
    } cases[] = {
        {R"({"text":"打开我的文档","rc":4})", "打开我的文档"},
        {R"({"text":"日志","rc":0,"service":"openQA","answer":{"text":"答案"}})", "日志"},
        {R"({"text":"打开我的文档","fromType":"x","actionType":"openQA"})", "打开我的文档"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        sim->ClearTrace();
        CVeSceneFactory factory;
        EXPECT_EQ(factory.ProcessM(c.input, IatAPI_Default, true), ProcessDone);
        EXPECT_EQ(factory.GetScene(), "userself");
        auto trace = Readable(Trace());
        // Rewrite rules may run before routing; what follows them is fixed.
        ASSERT_GE(trace.size(), 4u);
        Lines tail(trace.end() - 4, trace.end());
        EXPECT_EQ(tail, (Lines{"VeUI::InteractiveSet(null, 3)", "VeUI::Tray(" + Q(c.text) + ", 1)",
                               "CAccountData::OpenUserSelf(" + Q(c.text) + ") -> true",
                               "VeUI::Log_2(" + Q(c.text) + ", 9)"}));
    }
}

// ---------------------------------------------------------------- scenes reached through the dispatcher

class SceneRouteTest : public SimTest {};

TEST_F(SceneRouteTest, AnswerIsShownAndLogged) {
    CVeSceneFactory factory;
    EXPECT_EQ(factory.ProcessM(R"({"text":"天为什么是蓝的","rc":0,"service":"openQA","answer":{"text":"因为散射"}})",
                               IatAPI_Default, true),
              ProcessDone);
    EXPECT_EQ(factory.GetScene(), "openQA");
    EXPECT_EQ(Readable(Trace()),
              Concat(Shown("天为什么是蓝的"), {R"(VeUI::Tray_2("天为什么是蓝的"))",
                                               R"(VeUI::InteractiveSet("因为散射", 2))",
                                               R"(VeUI::Log_2("天为什么是蓝的", 17))"}));
}

TEST_F(SceneRouteTest, EmptyAnswerIsNotCarriedOut) {
    CVeSceneFactory factory;
    EXPECT_EQ(factory.ProcessM(R"({"text":"天为什么是蓝的","rc":0,"service":"openQA","answer":{"text":""}})",
                               IatAPI_Default, true),
              ProcessUnhandled);
    EXPECT_EQ(factory.GetScene(), "openQA");
    EXPECT_EQ(Readable(Trace()), Concat(Shown("天为什么是蓝的"), {R"(VeUI::Log_2("天为什么是蓝的", 28))"}));
}

// ---------------------------------------------------------------- the TPP dispatcher

struct TppCase {
    const char* name;
    const char* input;
    VeProcessState result;
    const char* scene;  // nullptr: unchanged
    const char* text;   // nullptr: unchanged
};

class TppTest : public SimTest, public ::testing::WithParamInterface<TppCase> {};

TEST_P(TppTest, ActionTypeIsTheScene) {
    const auto& c = GetParam();
    CVeSceneFactory factory;
    factory.ProcessM(R"({"text":"上一句","rc":0,"service":"weather"})", IatAPI_Default, true);
    sim->ClearTrace();
    EXPECT_EQ(factory.ProcessM(c.input, IatAPI_Default, true), c.result);
    EXPECT_EQ(factory.GetScene(), c.scene ? c.scene : "weather");
    EXPECT_EQ(factory.GetText_utf8(), c.text ? c.text : "上一句");
    if (c.result == ProcessFailed) {
        EXPECT_EQ(Readable(Trace()), kRecognitionError);
    } else if (c.result == ProcessUnhandled) {
        EXPECT_EQ(Readable(Trace()), Concat(Shown(c.text), {"VeUI::Log_2(" + Q(c.text) + ", 28)"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tpp, TppTest,
    ::testing::Values(TppCase{"MissingText", R"({"fromType":"x","actionType":"url"})", ProcessFailed, nullptr, nullptr},
                      TppCase{"EmptyText", R"({"text":"","fromType":"x","actionType":"url"})", ProcessFailed, nullptr,
                              nullptr},
                      TppCase{"UrlIsNoKey", R"({"text":"打开网址","fromType":"x","actionType":"url"})",
                              ProcessUnhandled, "url", "打开网址"},
                      TppCase{"NoActionType", R"({"text":"打开网址","fromType":"x"})", ProcessUnhandled, "",
                              "打开网址"},
                      TppCase{"ServiceIsIgnored",
                              R"({"text":"问个问题","fromType":"x","actionType":"q","service":"openQA","answer":{"text":"答"}})",
                              ProcessUnhandled, "q", "问个问题"},
                      TppCase{"NoRewriteRules", R"({"text":"搜索天气","fromType":"x","actionType":"web"})",
                              ProcessUnhandled, "web", "搜索天气"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
