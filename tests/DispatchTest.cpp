// ProcessM's dispatch paths, observed on the simulated desktop's trace: refusal of bad
// input, the choice between the semantic and the TPP dispatcher, the offline fallback, the
// user's own commands and main-window words, and the scene names the dispatchers settle on.
#include <algorithm>

#include "TestSupport.h"
#include "vescene/CVeSceneFactory.h"

using namespace vetest;

namespace {

const char* const kPrevious = R"({"text":"上一句","rc":0,"service":"openQA"})";  // no answer: unhandled
const Lines kRecognitionError = {R"(VeUI::Tray("__识别出错__", 1))", R"(VeUI::Log("__识别出错__", 6))"};
const Lines kSpeechFailure = {R"(VeUI::Tray("__语音识别失败__", 1))", R"(VeUI::Log("__语音识别失败__", 6))"};

// The events every routed utterance starts with.
Lines Shown(const std::string& utf8Text, bool userCommand = false) {
    return {"VeUI::InteractiveSet(null, 3)", "VeUI::Tray(" + Q(utf8Text) + ", 1)",
            "CAccountData::OpenUserSelf(" + Q(utf8Text) + (userCommand ? ") -> true" : ") -> false")};
}

// An utterance routed to no scene that acts: shown, logged as not carried out, sent online.
// No online service is set: the search from the desktop is all that follows.
Lines NotCarriedOut(const std::string& utf8Text) {
    return Concat(Shown(utf8Text), {"VeUI::Log_2(" + Q(utf8Text) + ", 28)", R"(CurrentWnd::GetCurrentWndText() -> "Program Manager")",
                                    "CUtil::SearchInBaidu_utf8(" + Q(utf8Text) + ")"});
}

class DispatchTest : public SimTest {
protected:
    CVeSceneFactory factory;
    // Leaves a previous utterance behind, so what a failure keeps can be seen.
    void Prime() {
        ASSERT_EQ(factory.ProcessM(kPrevious, IatAPI_Default, true), ProcessUnhandled);
        Clear();
    }
    // Each case starts once the online request of the one before has ended.
    void Clear() {
        sim->WaitForThreads();
        sim->ClearTrace();
    }
    // The host thread's calls (the online request has its own tests), the thread's handle left out.
    Lines Calls() {
        sim->WaitForThreads();
        Lines out;
        for (const auto& e : Trace())
            if (e.thread == 0 && e.call != "CloseHandle") out.push_back(e.call == "CreateThread" ? e.call : e.ToReadable());
        return out;
    }
    void ExpectFailureKeepsThePrevious(const Lines& report) {
        EXPECT_EQ(Calls(), report);
        EXPECT_EQ(factory.GetScene(), "openQA");
        EXPECT_EQ(factory.GetText_utf8(), "上一句");
    }
};

TEST_F(DispatchTest, BadInputFailsWithOneReportAndKeepsTheLastUtterance) {
    const std::vector<std::string> inputs = {
        "", "  \r\n", "打开记事本", R"({"text":"打开记事本","rc":)", "{\"text\":\"\xE6\x89\"}", "{\"text\":\"\xC0\xAF\"}",
        R"({"text":"a"} {"text":"b"})", std::string(100000, '[') + std::string(100000, ']')};
    for (IatAPI api : {IatAPI_Default, IatAPI_CloudSemantic}) {
        for (size_t i = 0; i <= inputs.size(); ++i) {  // the last one is NULL
            SCOPED_TRACE(::testing::Message() << "api " << api << " input " << i);
            Prime();
            EXPECT_EQ(factory.ProcessM(i < inputs.size() ? inputs[i].c_str() : nullptr, api, true), ProcessFailed);
            ExpectFailureKeepsThePrevious(kRecognitionError);
        }
    }
    // The TPP dispatcher has no offline fallback for an empty text.
    Prime();
    EXPECT_EQ(factory.ProcessM(R"({"text":"","fromType":"x","actionType":"url"})", IatAPI_Default, true), ProcessFailed);
    ExpectFailureKeepsThePrevious(kRecognitionError);
}

TEST_F(DispatchTest, DispatcherAndSceneName) {
    // A non-empty fromType picks the TPP dispatcher (whose scene is the actionType) unless the
    // engine is semantic; rc 4 or no service runs the rewrite rules and ends in the rc=4 scene.
    const std::string both = R"(,"rc":0,"service":"semanticScene","actionType":"tppScene")";
    const struct { IatAPI api; std::string fields; const char* scene; } cases[] = {
        {IatAPI_Default, both, "semanticScene"},               {IatAPI_Default, both + R"(,"fromType":"")", "semanticScene"},
        {IatAPI_Default, both + R"(,"fromType":null)", "semanticScene"},
        {IatAPI_Default, both + R"(,"fromType":"thirdParty")", "tppScene"},
        {IatAPI_Default, both + R"(,"fromType":0)", "tppScene"}, {IatAPI(7), both + R"(,"fromType":"x")", "tppScene"},
        {IatAPI_CloudSemantic, both + R"(,"fromType":"x")", "semanticScene"},
        {IatAPI_Default, R"(,"rc":4,"service":"weather")", "rc=4"}, {IatAPI_Default, R"(,"rc":0)", "rc=4"},
        {IatAPI_Default, R"(,"rc":0,"service":"VELMORA.life","semantic":[{"intent":"hotel"}])", "hotel"},
        {IatAPI_Default, R"(,"rc":0,"service":"VELMORA.shopping","semantic":[{"intent":"goods"}])", "goods"},
        {IatAPI_Default, R"(,"rc":0,"service":"openQA","semantic":[{"intent":"goods"}])", "openQA"},
        {IatAPI_Default, R"(,"rc":0,"service":"Websearch")", "Websearch"},
        {IatAPI_Default, R"(,"fromType":"x")", ""},
        {IatAPI_Default, R"(,"fromType":"x","actionType":"q","service":"openQA","answer":{"text":"答"})", "q"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "api " << c.api << c.fields);
        Clear();
        const std::string input = R"({"text":"明天天气怎么样")" + c.fields + "}";
        EXPECT_EQ(factory.ProcessM(input.c_str(), c.api, true), ProcessUnhandled);
        EXPECT_EQ(factory.GetScene(), c.scene);
        EXPECT_EQ(factory.GetText_utf8(), "明天天气怎么样");
        Lines expected = NotCarriedOut("明天天气怎么样");
        // The rc=4 scene asks the system command table before it declines.
        if (std::string(c.scene) == "rc=4") {
            expected.insert(expected.begin(), "CDataFactory::SetNormal(true)");
            expected.insert(expected.end() - 3, {R"(CDataFactory::OpenPcSoftwareLnk("明天天气怎么样") -> false)",
                                                 R"(CDataFactory::OpenWebsite_Grm("明天天气怎么样") -> false)",
                                                 "CEnvironmentMonitor::OsVersion() -> 10"});
        }
        EXPECT_EQ(Calls(), expected);
    }
}

TEST_F(DispatchTest, CopiesKeepTheSceneAndThenGoTheirOwnWay) {
    factory.ProcessM(kPrevious, IatAPI_Default, true);
    CVeSceneFactory copied(factory), assigned;
    assigned = factory;
    EXPECT_EQ(assigned.GetScene(), "openQA");
    copied.ProcessM(R"({"text":"火车票","rc":0,"service":"train"})", IatAPI_Default, true);
    factory.ProcessM(R"({"text":"笑话","rc":0,"service":"joke"})", IatAPI_Default, true);
    EXPECT_EQ(copied.GetScene(), "train");
    EXPECT_EQ(assigned.GetScene(), "openQA");
    EXPECT_EQ(factory.GetScene(), "joke");
}

TEST_F(DispatchTest, WithoutOnlineTextTheScoreGatesTheOfflineWords) {
    const Lines open = {"打开", "记事本"};
    // score: JSON value of "sc", nullptr for absent; text: the offline command, nullptr for a failure.
    const struct { bool network; const char* score; Lines words; const char* text; bool speechFailure; } cases[] = {
        {true, R"("44")", open, nullptr, true},          {true, R"("45")", open, "打开记事本", false},
        {true, "44.9", open, nullptr, true},             {true, R"(" 60 points")", open, "打开记事本", false},
        {true, R"("high")", open, nullptr, true},        {true, R"("99999999999999999999999")", open, "打开记事本", false},
        {true, R"("-99999999999999999999999")", open, nullptr, true},
        {false, R"("0")", open, "打开记事本", false},    {true, R"("90")", {}, nullptr, false},
        // One word as it is; after 打开 the last word joins it; otherwise the last word alone.
        {false, nullptr, {"打开"}, "打开", false},       {false, nullptr, {"打开", "我的", "文档"}, "打开文档", false},
        {false, nullptr, {"关闭", "记事本"}, "记事本", false}, {false, nullptr, {"打开了", "计算器"}, "计算器", false},
    };
    for (const auto& c : cases) {
        std::string ws;
        for (const auto& w : c.words) ws += (ws.empty() ? "" : ",") + (R"({"cw":[{"w":)" + Q(w)) + "}]}";
        const std::string score = c.score ? R"(,"sc":)" + std::string(c.score) : "";
        const std::string input = R"({"text":"")" + score + R"(,"ws":[)" + ws + "]}";
        SCOPED_TRACE(::testing::Message() << input << (c.network ? "" : " network down"));
        sim->State().network = c.network;
        Prime();
        EXPECT_EQ(factory.ProcessM(input.c_str(), IatAPI_Default, true) == ProcessFailed, !c.text);
        const Lines checked = {std::string("CEnvironmentMonitor::CheckNet(false) -> ") + (c.network ? "true" : "false")};
        if (!c.text) {
            ExpectFailureKeepsThePrevious(Concat(checked, c.speechFailure ? kSpeechFailure : kRecognitionError));
            continue;
        }
        // What the offline scene then does is its own test's business.
        const Lines dispatched = Concat(checked, Shown(c.text)), trace = Calls();
        ASSERT_GE(trace.size(), dispatched.size());
        EXPECT_EQ(Lines(trace.begin(), trace.begin() + dispatched.size()), dispatched);
        EXPECT_EQ(factory.GetScene(), "offasr");
    }
}

TEST_F(DispatchTest, MainWindowWordsOpenTheirPageInBothDispatchersOnExactMatch) {
    // page 0: no main-window word. Only the first leading blank is dropped from the text.
    const struct { const char* word; int page; const char* text; } cases[] = {
        {"打开主窗口", 14, "打开主窗口"}, {"个人命令", 20, "个人命令"}, {"录音转文字", 19, "录音转文字"},
        {"个人热词", 21, "个人热词"},     {" 日志", 14, "日志"},        {"  日志", 0, " 日志"},
        {"打开主窗口吧", 0, "打开主窗口吧"}, {"查看日志", 0, "查看日志"}};
    for (const auto& c : cases) {
        // Scenes that would act if they were reached: an answer and a web search.
        for (const std::string& input :
             {R"({"text":)" + Q(c.word) + R"(,"rc":0,"service":"openQA","answer":{"text":"答案"}})",
              R"({"text":)" + Q(c.word) + R"(,"fromType":"x","actionType":"openQA"})"}) {
            SCOPED_TRACE(input);
            Clear();
            const auto result = factory.ProcessM(input.c_str(), IatAPI_Default, true);
            EXPECT_EQ(factory.GetText_utf8(), c.text);
            if (!c.page) {
                EXPECT_EQ(factory.GetScene(), "openQA");
                EXPECT_TRUE(EventsOf("VeUI::MainMenu").empty());
                continue;
            }
            EXPECT_EQ(result, ProcessDone);
            EXPECT_EQ(factory.GetScene(), "userself");
            EXPECT_EQ(Calls(), Concat(Shown(c.text), {"VeUI::MainMenu(" + std::to_string(c.page) + ")",
                                                      "VeUI::Log_2(" + Q(c.text) + ", 33)"}));
        }
    }
}

TEST_F(DispatchTest, UserCommandWinsOverEverythingElse) {
    sim->State().userCommands = {"日志", "打开我的文档"};
    for (const char* input : {R"({"text":"打开我的文档","rc":4})", R"({"text":"日志","rc":0,"service":"openQA","answer":{"text":"答案"}})",
                              R"({"text":"打开我的文档","fromType":"x","actionType":"openQA"})"}) {
        SCOPED_TRACE(input);
        Clear();
        EXPECT_EQ(factory.ProcessM(input, IatAPI_Default, true), ProcessDone);
        EXPECT_EQ(factory.GetScene(), "userself");
        // Rewrite rules may run before routing; what follows them is fixed.
        const auto trace = Calls();
        ASSERT_GE(trace.size(), 4u);
        const std::string text = factory.GetText_utf8();
        EXPECT_EQ(Lines(trace.end() - 4, trace.end()), Concat(Shown(text, true), {"VeUI::Log_2(" + Q(text) + ", 9)"}));
    }
}

TEST_F(DispatchTest, AnAnswerIsCarriedOutOnlyWhenItHasText) {
    for (const std::string answer : {R"({"text":"因为散射"})", R"({"text":""})", R"("因为散射")"}) {
        SCOPED_TRACE(answer);
        Clear();
        const std::string input = R"({"text":"天为什么是蓝的","rc":0,"service":"openQA","answer":)" + answer + "}";
        const bool answered = answer == R"({"text":"因为散射"})";
        EXPECT_EQ(factory.ProcessM(input.c_str(), IatAPI_Default, true), answered ? ProcessDone : ProcessUnhandled);
        EXPECT_EQ(Calls(), answered ? Concat(Shown("天为什么是蓝的"), {R"(VeUI::Tray_2("天为什么是蓝的"))",
                                                                     R"(VeUI::InteractiveSet("因为散射", 2))",
                                                                     R"(VeUI::Log_2("天为什么是蓝的", 17))"})
                                    : NotCarriedOut("天为什么是蓝的"));
    }
}

TEST_F(DispatchTest, ApplicationResultsOfBothDispatchers) {
    sim->State().programs = {"QQ"};
    const auto tpp = [](const char* text, const char* content) {
        return std::string(R"({"text":)") + Q(text) + R"(,"fromType":"x","actionType":"APPLICATION","content":)" + content + "}";
    };
    const Lines unknownWeChat = {R"(CDataFactory::OpenPcSoftwareLnk("微信") -> false)",
                                 R"(CDataFactory::OpenWebsite_Grm("微信") -> false)", "CEnvironmentMonitor::OsVersion() -> 10"};
    const struct { std::string input; Lines tail; VeProcessState state = ProcessDone; } cases[] = {
        // A program the scene started: logged with its icon.
        {R"({"text":"打开QQ","rc":4})", {R"(CDataFactory::OpenPcSoftwareLnk("QQ") -> true)", R"(VeUI::Log_HICON("打开QQ", 4096))"}},
        {tpp("打开QQ", R"({"appName":"QQ"})"),
         {R"(CDataFactory::OpenPcSoftwareLnk("QQ") -> true)", R"(VeUI::Log_HICON("打开QQ", 4096))"}},
        // A download the desktop cannot start: the download table's page, but TPP goes to the
        // software centre's search.
        {R"({"text":"下载微信","rc":4})",
         Concat(unknownWeChat, {R"(VeUI::VeShellExecuteA("https://pc.weixin.qq.com/"))", R"(VeUI::Log_2("下载微信", 30))"})},
        {tpp("下载微信", R"({"action":"下载","appName":"微信"})"),
         Concat(unknownWeChat, {R"(VeUI::VeShellExecuteA("https://pc.qq.com/search.html#!keyword=%E5%BE%AE%E4%BF%A1"))",
                                R"(VeUI::Log_2("下载微信", 30))"})},
        // Nothing to close, or a "no" to the question: not carried out, the user told why, and
        // neither the online service nor a search follows.
        {tpp("关闭画图", R"({"action":"关闭","appName":"画图"})"),
         {R"(FindWindowW(null, "画图") -> 0)", R"(VeUI::Tray("没有找到要关闭的“画图”", 1))", R"(VeUI::Log_2("关闭画图", 28))"},
         ProcessUnhandled},
        {R"({"text":"关机","rc":4})", {R"(VeUI::YesOrNot("是否确定关机？") -> false)", R"(VeUI::Log_2("关机", 28))"}, ProcessUnhandled},
    };
    sim->State().yesNoAnswer = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        Clear();
        EXPECT_EQ(factory.ProcessM(c.input.c_str(), IatAPI_Default, true), c.state);
        const auto trace = Calls();
        ASSERT_GE(trace.size(), c.tail.size());
        EXPECT_EQ(Lines(trace.end() - c.tail.size(), trace.end()), c.tail);
    }
}

}  // namespace

namespace {

// What reaches the desktop's own windows: keys never go into a window of a higher integrity
// level (the user is told, the utterance is logged as not carried out), and the desktop is
// recognised by its window class when its title says nothing (a WorkerW after Win+D).
TEST_F(DispatchTest, KeysStopAtAnAdministratorWindowAndTheDesktopIsKnownByItsClass) {
    const std::string selectAll = R"({"text":"全选","fromType":"tpp","actionType":"OFFLINE","scene":"x","content":"全选"})";
    const Lines adminCheck = {"GetForegroundWindow() -> 14400", "GetWindowThreadProcessId(14400) -> 900",
                              "GetCurrentProcessId() -> 4000", "GetProcessIntegrityLevel(900) -> 12288",
                              "GetProcessIntegrityLevel(4000) -> 8192",
                              "VeUI::Tray(" + Q("无法向以管理员身份运行的窗口发送按键") + ", 1)"};
    sim->State().windows = {{"管理员: 命令提示符", 900}};
    sim->State().foregroundTitle = "管理员: 命令提示符";
    sim->State().integrityLevels = {{900, vewin::SECURITY_MANDATORY_HIGH_RID}};
    // Not carried out, and nothing else is tried: no online request, no search.
    EXPECT_EQ(factory.ProcessM(selectAll.c_str(), IatAPI_Default, true), ProcessUnhandled);
    const Lines calls = Calls();
    EXPECT_TRUE(std::search(calls.begin(), calls.end(), adminCheck.begin(), adminCheck.end()) != calls.end());
    EXPECT_TRUE(EventsOf("keybd_event").empty());
    EXPECT_EQ(calls.back(), "VeUI::Log_2(" + Q("全选") + ", 28)");

    // The same level: the keys go.
    Clear();
    sim->State().integrityLevels.clear();
    EXPECT_EQ(factory.ProcessM(selectAll.c_str(), IatAPI_Default, true), ProcessDone);
    EXPECT_EQ(EventsOf("keybd_event").size(), 4u);

    const struct { const char* title; const char* className; bool searched; } fronts[] = {
        {"", "WorkerW", true}, {"", "Progman", true}, {"", "Chrome_WidgetWin_1", false}, {"Program Manager", "", true},
    };
    for (const auto& front : fronts) {
        SCOPED_TRACE(front.className);
        Clear();
        sim->State().windows = {{front.title, 4242}};
        sim->State().foregroundTitle = front.title;
        sim->State().foregroundClass = front.className;
        EXPECT_EQ(factory.ProcessM(kPrevious, IatAPI_Default, true), ProcessUnhandled);
        const Lines byClass = {"GetForegroundWindow() -> 67872", "GetClassNameW(67872) -> " + Q(front.className)};
        const Lines calls = Calls();
        EXPECT_EQ(std::search(calls.begin(), calls.end(), byClass.begin(), byClass.end()) != calls.end(), *front.title == 0);
        EXPECT_EQ(EventsOf("CUtil::SearchInBaidu_utf8").size(), front.searched ? 1u : 0u);
    }
}

}  // namespace
