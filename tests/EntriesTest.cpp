// The pen, AI and office entries, and the offline-recognition scenes behind ProcessM.
#include "TestSupport.h"
#include "vescene/CVeSceneFactory.h"

using namespace vetest;

namespace {

std::string Local(const std::string& score, const Lines& words) {
    std::string ws;
    for (const auto& w : words) ws += std::string(ws.empty() ? "" : ",") + R"({"cw":[{"w":)" + Q(w) + "}]}";
    return R"({"text":"","sc":)" + Q(score) + R"(,"ws":[)" + ws + "]}";
}

std::string Online(const std::string& text, const std::string& intent, const std::string& rc = "0") {
    return R"({"text":)" + Q(text) + R"(,"rc":)" + rc + R"(,"semantic":{"intent":)" + Q(intent) + "}}";
}

class EntriesTest : public SimTest {
protected:
    CVeSceneFactory factory;
    Lines Trays() { return Readable(EventsOf("VeUI::Tray")); }
    Lines Logs() { return Only(Trace(), [](const std::string& c) { return c.starts_with("VeUI::Log"); }); }
};

TEST_F(EntriesTest, PenLocalResultsPassTheScoreAndTheHostsThreshold) {
    const std::string noCommand = R"(VeUI::Log("普通控制：未能匹配到指令", 6))";
    const struct { std::string input; std::map<std::string, int> confidence; Lines logs; } cases[] = {
        {Local("19", {"关闭", "窗口"}), {}, {R"(VeUI::Log_2("本地置信度为：19", 0))", noCommand}},
        {Local("70", {"打开", "的", "计算器"}), {{"打开计算器", 80}}, {R"(VeUI::Log_2("本地置信度为：70", 0))", noCommand}},
        {Local("20", {}), {}, {R"(VeUI::Log_2("本地置信度为：20", 0))", R"(VeUI::Log("__识别出错__", 6))"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        sim->ClearTrace();
        sim->State().confidence = c.confidence;
        EXPECT_EQ(factory.ProcessP_normal(c.input.c_str()), 0);
        EXPECT_EQ(Logs(), c.logs);
    }
}

TEST_F(EntriesTest, PenNormalRunsTheNormalCommandOfTheWordList) {
    // 打开, 的, 计算器 is the command 打开计算器; 关闭, 窗口 is 窗口.
    EXPECT_EQ(factory.ProcessP_normal(Local("20", {"打开", "的", "计算器"}).c_str()), ProcessDone);
    EXPECT_EQ(factory.GetScene(), "offasr_p");
    EXPECT_EQ(factory.GetText_utf8(), "打开计算器");
    EXPECT_EQ(Readable(EventsOf("CDataFactory::VeOpenUserFiles")),
              Lines{R"(CDataFactory::VeOpenUserFiles("打开计算器") -> false)"});
    // Not a normal-control command: the normal-control hint, still done.
    EXPECT_EQ(Trays(), Lines{R"(VeUI::Tray("该指令在普通控制下无效", 1))"});

    sim->ClearTrace();
    factory.ProcessP_normal(Local("90", {"关闭", "窗口"}).c_str());
    EXPECT_EQ(factory.GetText_utf8(), "窗口");

    // A user binding wins over every scene.
    sim->ClearTrace();
    sim->State().userFiles = {"关闭"};
    EXPECT_EQ(factory.ProcessP_normal(Online("关闭", "INSTRUCTION").c_str()), ProcessDone);
    EXPECT_TRUE(EventsOf("keybd_event").empty());
    EXPECT_EQ(Trays(), Lines{R"(VeUI::Tray("关闭", 1))"});
}

TEST_F(EntriesTest, PenOnlineResultsRouteByIntentOrRc) {
    // rc 4 runs the "rc=4" scene whatever the intent; a leading blank is dropped.
    EXPECT_EQ(factory.ProcessP_normal(Online(" 关闭", "weather", "4").c_str()), ProcessDone);
    EXPECT_EQ(factory.GetScene(), "rc=4");
    EXPECT_EQ(factory.GetText_utf8(), "关闭");
    EXPECT_TRUE(sim->HeldKeys().empty());

    // A done scene's text is shown, then logged with the icon of the program it started.
    sim->ClearTrace();
    sim->State().programs = {"QQ"};
    EXPECT_EQ(factory.ProcessP_normal(Online("QQ", "weather", "4").c_str()), ProcessDone);
    EXPECT_EQ(Only(Trace(), [](const std::string& c) { return c.starts_with("VeUI::"); }),
              (Lines{R"(VeUI::Log("在线识别结果", 0))", R"(VeUI::Tray("QQ", 1))", R"(VeUI::Log_HICON("QQ", 4096))"}));

    // An intent the registry lacks: logged 28, then the no-command texts.
    sim->ClearTrace();
    EXPECT_EQ(factory.ProcessP_normal(Online("天气", "weather").c_str()), ProcessFailed);
    EXPECT_EQ(Logs(), (Lines{R"(VeUI::Log("在线识别结果", 0))", R"(VeUI::Log_2("天气", 28))",
                             R"(VeUI::Log("普通控制：未能匹配到指令", 6))"}));
}

TEST_F(EntriesTest, PenSlideShowRunsTheLaserControlSlotBeforeUserBindings) {
    sim->State().userFiles = {"翻页"};
    std::string input = R"({"text":"翻页","rc":0,"semantic":{"intent":"ppt","slots":[)"
                        R"({"name":"Laser_control","value":"x","normValue":"第3页"}]}})";
    EXPECT_EQ(factory.ProcessP_PPT(input.c_str()), ProcessDone);
    // Only the engine asks for a binding of the slot text; the entry's own binding is not tried.
    EXPECT_EQ(Readable(EventsOf("CDataFactory::VeOpenUserFiles")),
              Lines{R"(CDataFactory::VeOpenUserFiles("第3页") -> false)"});
    EXPECT_EQ(Readable(EventsOf("keybd_event")), (Lines{"keybd_event(51, 4, 0, 0)", "keybd_event(13, 28, 0, 0)",
                                                        "keybd_event(51, 4, 2, 0)", "keybd_event(13, 28, 2, 0)"}));
    EXPECT_EQ(Logs().back(), R"(VeUI::Log_2("翻页", 34))");

    // A registry miss falls to the user's bindings, then to the no-command texts.
    sim->ClearTrace();
    EXPECT_EQ(factory.ProcessP_PPT(Online("天气", "weather").c_str()), ProcessFailed);
    EXPECT_EQ(Logs().back(), R"(VeUI::Log("PPT控制：未能匹配到指令", 6))");
}

TEST_F(EntriesTest, AiModeScoreCountsOnlyWhileTheNetworkIsUp) {
    const std::string input = Local("44", {"下一", "页"});
    EXPECT_EQ(factory.ProcessAI(input.c_str()), ProcessFailed);
    EXPECT_EQ(Trays(), Lines{R"(VeUI::Tray("__语音识别失败__", 1))"});

    sim->ClearTrace();
    sim->State().network = false;
    EXPECT_EQ(factory.ProcessAI(input.c_str()), ProcessDone);
    EXPECT_EQ(factory.GetScene(), "ai");
    EXPECT_EQ(Readable(EventsOf("CAiManager::openAi")), Lines{R"(CAiManager::openAi("页"))"});

    sim->ClearTrace();
    EXPECT_EQ(factory.ProcessAI(R"({"text":" 讲个笑话"})"), ProcessDone);
    EXPECT_EQ(Logs(), Lines{R"(VeUI::Log_2("讲个笑话", 49))"});
}

TEST_F(EntriesTest, OfficeModeJoinsWordsAndReportsUnmatchedTexts) {
    // Without grammar files nothing matches: shown, logged 6, unhandled.
    EXPECT_EQ(factory.ProcessM_office_xiao(Local("60", {"下一", "页"}).c_str(), TyOffice_PowerPoint), ProcessUnhandled);
    EXPECT_EQ(Trays(), Lines{R"(VeUI::Tray("下一页", 1))"});
    EXPECT_EQ(Logs(), Lines{R"(VeUI::Log_2("下一页", 6))"});
    EXPECT_EQ(factory.GetScene(), "office_no");

    sim->ClearTrace();
    EXPECT_EQ(factory.ProcessM_office_xiao(Local("54", {"保存"}).c_str(), TyOffice_Word), ProcessFailed);
    EXPECT_EQ(Trays(), Lines{R"(VeUI::Tray("__语音识别失败__", 1))"});

    sim->ClearTrace();
    EXPECT_EQ(factory.ProcessM_office_xiao(R"({"text":"保存"})", TyOffice_None), ProcessUnhandled);
    EXPECT_TRUE(EventsOf("keybd_event").empty());
}

TEST_F(EntriesTest, EntriesRefuseInvalidResults) {
    for (auto entry : {&CVeSceneFactory::ProcessP_normal, &CVeSceneFactory::ProcessP_PPT, &CVeSceneFactory::ProcessAI}) {
        sim->ClearTrace();
        EXPECT_EQ((factory.*entry)("{\"text\":"), ProcessFailed);
        EXPECT_EQ(Logs(), Lines{R"(VeUI::Log("__识别出错__", 6))"});
    }
    EXPECT_EQ(factory.ProcessM_office_xiao(nullptr, TyOffice_Word), ProcessFailed);
}

TEST_F(EntriesTest, OfflineAndNoMeaningResultsRunTheirScenes) {
    EXPECT_EQ(factory.ProcessM(Local("80", {"打开", "计算器"}).c_str(), IatAPI_Default, false), ProcessDone);
    EXPECT_EQ(factory.GetScene(), "offasr");
    EXPECT_EQ(Readable(EventsOf("CreateProcessW")),
              Lines{R"(CreateProcessW("C:\\Windows\\system32\\calc.exe", "\"C:\\Windows\\system32\\calc.exe\"") -> 1)"});
    EXPECT_EQ(Logs().back(), R"(VeUI::Log_2("打开计算器", 9))");

    sim->ClearTrace();
    EXPECT_EQ(factory.ProcessM(R"({"text":"你好呀","rc":4})", IatAPI_Default, false), ProcessUnhandled);
    EXPECT_EQ(factory.GetScene(), "rc=4");
    EXPECT_EQ(Logs().back(), R"(VeUI::Log_2("你好呀", 28))");
    EXPECT_TRUE(Opened().empty());
}

}  // namespace
