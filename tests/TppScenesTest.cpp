// The TPP engine's scenes, fed results shaped as the engine sends them and converted as the
// dispatcher converts them; asserted on the simulated desktop's trace.
#include <functional>

#include "TestSupport.h"
#include "scenes/tpp/TppSceneApp.h"
#include "scenes/tpp/TppSceneCmd.h"
#include "scenes/tpp/TppSceneCombKey.h"
#include "scenes/tpp/TppSceneDialogue.h"
#include "scenes/tpp/TppSceneDialogueList.h"
#include "scenes/tpp/TppSceneEntity.h"
#include "scenes/tpp/TppSceneFillUrl.h"
#include "scenes/tpp/TppSceneNothing.h"
#include "scenes/tpp/TppSceneOffline.h"
#include "scenes/tpp/TppSceneOther.h"
#include "scenes/tpp/TppSceneUrl.h"
#include "scenes/tpp/TppSceneUrlList.h"
#include "scenes/tpp/TppWebPage.h"

using namespace vetest;

namespace {

using State = std::function<void(vesim::SimState&)>;
const State kNone = [](vesim::SimState&) {};

const std::string kCentre = "https://pc.qq.com/search.html#!keyword=";

Lines Unknown(const std::string& name) {
    return {"CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> false",
            "CDataFactory::OpenWebsite_Grm(" + Q(name) + ") -> false", "CEnvironmentMonitor::OsVersion() -> 10"};
}
std::string Program(const std::string& name) { return "CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> true"; }
std::string Shell(const std::string& url) { return "VeUI::VeShellExecuteA(" + Q(url) + ")"; }
std::string Search(const std::string& text) { return "CUtil::SearchInBaidu_unicode(" + Q(text) + ")"; }
std::string Command(const std::string& cmd, bool known) {
    return "CUtil::OpenCommand(" + Q(cmd) + ") -> " + (known ? "true" : "false");
}
std::string Refused(const std::string& url) {
    return "OutputDebugStringW(" + Q("VeScene: refused to open a result that is no web address: " + url) + ")";
}
Lines Answer(const std::string& question, const std::string& answer) {
    return {"VeUI::Tray_2(" + Q(question) + ")", "VeUI::InteractiveSet(" + Q(answer) + ", 2)"};
}

class TppSceneTest : public SimTest {
protected:
    // Gives the scene the text and a TPP result ("content" as JSON text: an object or a string),
    // parses and executes it on a cleared trace.
    template <class Scene>
    int Run(Scene& scene, const std::string& utf8Text, const std::string& sceneName, const std::string& content) {
        const std::string json = R"({"text":)" + Q(utf8Text) + R"(,"fromType":"tpp","actionType":"X","scene":)" +
                                 Q(sceneName) + R"(,"content":)" + content + "}";
        VeJson doc(json.c_str());
        EXPECT_TRUE(doc.IsValid()) << json;
        doc.Utf8ToUnicode();
        scene.m_stdText = Gbk(utf8Text);
        sim->ClearTrace();
        scene.Parse(doc);
        return scene.Execute();
    }
};

std::string AppContent(const char* action, const char* name, const char* url = nullptr, const char* cmd = nullptr) {
    std::string out = R"({"action":)" + Q(action) + R"(,"appName":)" + Q(name);
    if (url) out += R"(,"url":)" + Q(url);
    if (cmd) out += R"(,"cmd":)" + Q(cmd);
    return out + "}";
}

// ------------------------------------------------------------------ application

TEST_F(TppSceneTest, AppDefaultsToOpeningTheWholeText) {
    TppSceneApp scene;
    sim->State().programs = {"打开QQ"};
    EXPECT_EQ(Run(scene, "打开QQ", "VELMORA.application", "{}"), 1);
    EXPECT_EQ(Utf8(scene.m_stdAction), "打开");
    EXPECT_EQ(Utf8(scene.m_stdAppName), "打开QQ");
    EXPECT_EQ(Readable(Trace()), Lines{Program("打开QQ")});

    TppSceneApp nameless;
    EXPECT_EQ(Run(nameless, "", "", AppContent("", "")), 0);
    EXPECT_EQ(nameless.m_logType, LogType_NotCarriedOut);
    EXPECT_TRUE(Trace().empty());
}

TEST_F(TppSceneTest, AppActionsWithTheResultsCommandAndPage) {
    const State installed = [](vesim::SimState& s) { s.programs = {"QQ"}; };
    const State removable = [](vesim::SimState& s) { s.uninstallable = {"迅雷"}; };
    const State known = [](vesim::SimState& s) { s.hostCommands = {"setup_tool"}; };
    const std::string page = "https://dldir1.qq.com/tool.exe";
    const struct {
        std::string content; State state; Lines trace;
    } cases[] = {
        {AppContent("卸载", "迅雷"), removable, {R"(CDataFactory::UninstSystemExe("迅雷") -> true)"}},
        {AppContent("卸载", "QQ"), removable,
         {R"(CDataFactory::UninstSystemExe("QQ") -> false)",
          R"(WinExec("control.exe /name Microsoft.ProgramsAndFeatures", 1) -> 33)"}},
        // Download: the desktop's program first, then the command, then the page, else the centre.
        {AppContent("下载", "QQ", page.c_str(), "setup_tool"), installed, {Program("QQ")}},
        {AppContent("下载", "工具", page.c_str(), "setup_tool"), kNone,
         Concat(Unknown("工具"), {Command("setup_tool", false)})},
        {AppContent("安装", "工具", page.c_str()), kNone, Concat(Unknown("工具"), {Shell(page)})},
        {AppContent("下载", "酷狗 音乐"), kNone,
         Concat(Unknown("酷狗 音乐"), {Shell(kCentre + "%E9%85%B7%E7%8B%97%20%E9%9F%B3%E4%B9%90")})},
        // A page that is no web address is passed over as if there were none.
        {AppContent("下载", "工具", R"(C:\tools\setup.exe)"), kNone,
         Concat(Unknown("工具"), {Refused(R"(C:\tools\setup.exe)"), Shell(kCentre + "%E5%B7%A5%E5%85%B7")})},
        // Open and any other action: the same order, ending in a web search.
        {AppContent("打开", "工具", page.c_str(), "setup_tool"), known,
         Concat(Unknown("工具"), {Command("setup_tool", true)})},
        {AppContent("启动", "工具", page.c_str()), kNone, Concat(Unknown("工具"), {Shell(page)})},
        {AppContent("打开", "工具"), kNone, Concat(Unknown("工具"), {Search("工具")})},
        {AppContent("打开", "工具", "file:///C:/Windows/System32/cmd.exe"), kNone,
         Concat(Unknown("工具"), {Refused("file:///C:/Windows/System32/cmd.exe"), Search("工具")})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        sim->State() = {};
        c.state(sim->State());
        TppSceneApp scene;
        EXPECT_EQ(Run(scene, "随便", "VELMORA.application", c.content), 1);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_EQ(scene.m_logType, LogType_Application);
    }
}

TEST_F(TppSceneTest, AppCloseEndsTheWindowsProcessOrNothing) {
    const std::map<std::string, vewin::DWORD> windows = {{"记事本", 1234}};
    for (const char* action : {"关闭", "退出"}) {
        vesim::ScopedSim fresh;
        fresh->State().windows = windows;
        TppSceneApp scene;
        EXPECT_EQ(Run(scene, "关掉记事本", "", AppContent(action, "记事本")), 1);
        EXPECT_EQ(Readable(fresh->Trace()),
                  (Lines{R"(FindWindowW(null, "记事本") -> 19744)", "GetWindowThreadProcessId(19744) -> 1234",
                         "OpenProcess(1, 0, 1234) -> 260", "TerminateProcess(260, 0) -> 1", "CloseHandle(260) -> 1",
                         "CUtil::RefreshToolbarAreaIcon()"}));
        EXPECT_TRUE(fresh->State().windows.empty());
    }
    sim->State().windows = windows;
    TppSceneApp scene;
    EXPECT_EQ(Run(scene, "关闭画图", "", AppContent("关闭", "画图")), 1);
    EXPECT_EQ(Readable(Trace()), Lines{R"(FindWindowW(null, "画图") -> 0)"});
    EXPECT_EQ(sim->State().windows, windows);
}

// ------------------------------------------------------------------ command and media key

TEST_F(TppSceneTest, CmdRunsTheHostsCommandWhateverItAnswers) {
    sim->State().hostCommands = {"volume_up"};
    const struct { const char* content; int result; Lines trace; } cases[] = {
        {"volume_up", 1, {Command("volume_up", true)}},
        {"no_such_command", 1, {Command("no_such_command", false)}},
        {"", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        TppSceneCmd scene;
        EXPECT_EQ(Run(scene, "音量调大", "", Q(c.content)), c.result);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_EQ(scene.m_logType, c.result ? LogType_Base : LogType_NotCarriedOut);
    }
}

TEST_F(TppSceneTest, CombKeyTapsOnlyTrackAndPlayKeys) {
    for (int vk : {176, 177, 179}) {
        TppSceneCombKey scene;
        EXPECT_EQ(Run(scene, "下一首", "", Q(std::to_string(vk))), 1);
        const std::string key = std::to_string(vk);
        EXPECT_EQ(Readable(Trace()), (Lines{"keybd_event(" + key + ", 0, 0, 0)", "MapVirtualKeyW(" + key + ", 0) -> 0",
                                            "keybd_event(" + key + ", 0, 2, 0)"}));
        EXPECT_TRUE(sim->HeldKeys().empty());
    }
    // Mute (173), stop (178), other spellings and no content are not pressed.
    for (const char* content : {"173", "178", "0xB0", " 176", "176 ", "0176", ""}) {
        SCOPED_TRACE(content);
        TppSceneCombKey scene;
        EXPECT_EQ(Run(scene, "静音", "", Q(content)), 0);
        EXPECT_EQ(scene.m_logType, LogType_NotCarriedOut);
        EXPECT_TRUE(Trace().empty());
    }
}

// ------------------------------------------------------------------ answers

TEST_F(TppSceneTest, DialogueShowsTheAnswerWithItsLineBreaks) {
    const struct { const char* scene; LogType logType; } kinds[] = {
        {"translation", LogType_Translation}, {"joke", LogType_Joke}, {"chat", LogType_Answer}, {"", LogType_Answer},
    };
    for (const auto& k : kinds) {
        TppSceneDialogue scene;
        EXPECT_EQ(Run(scene, "你好", k.scene, Q("你好")), 1);
        EXPECT_EQ(scene.m_logType, k.logType);
    }
    const struct { const char* answer; const char* shown; } answers[] = {
        {R"(从前有座山\n山里有座庙)", "从前有座山\n山里有座庙"},
        {R"(\n\n两行空行)", "\n\n两行空行"},
        {R"(反斜杠\\n后)", "反斜杠\\\n后"},
        {R"(结尾\)", "结尾\\"},
        {"已有\n换行", "已有\n换行"},
    };
    for (const auto& a : answers) {
        SCOPED_TRACE(a.answer);
        TppSceneDialogue scene;
        EXPECT_EQ(Run(scene, "讲个笑话", "joke", Q(a.answer)), 1);
        EXPECT_EQ(Readable(Trace()), Answer("讲个笑话", a.shown));
    }
    TppSceneDialogue empty;
    EXPECT_EQ(Run(empty, "讲个笑话", "joke", Q("")), 0);
    EXPECT_EQ(empty.m_logType, LogType_NotCarriedOut);
    EXPECT_TRUE(Trace().empty());
}

TEST_F(TppSceneTest, EntityShowsEveryLabelEvenWhenEmpty) {
    const std::string poem(3000, 'x');  // far longer than any fixed formatting buffer
    const struct { std::string content; const char* scene; int result; LogType logType; Lines trace; } cases[] = {
        {R"({"title":"静夜思","author":"李白","content":"床前明月光"})", "poetry", 1, LogType_Poetry,
         Answer("静夜思", "题目：静夜思\n作者：李白\n内容：床前明月光")},
        {R"({"title":"静夜思"})", "poetry", 1, LogType_Poetry, Answer("静夜思", "题目：静夜思\n作者：\n内容：")},
        {R"({"content":")" + poem + R"("})", "baike", 1, LogType_Answer,
         Answer("静夜思", "题目：\n作者：\n内容：" + poem)},
        {R"({"title":"","author":""})", "poetry", 0, LogType_NotCarriedOut, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.substr(0, 60));
        TppSceneEntity scene;
        EXPECT_EQ(Run(scene, "静夜思", c.scene, c.content), c.result);
        EXPECT_EQ(scene.m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
}

// ------------------------------------------------------------------ pages

TEST_F(TppSceneTest, FillUrlPutsTheCityItsStationOrItsShortNameInTheUrl) {
    const std::string before = "https://www.example.cn/s?q=";
    const struct {
        const char* city; const char* scene; const char* fillName; const char* filled; LogType logType;
    } cases[] = {
        {"", "weather", "city", "北京", LogType_Weather},
        {"上海", "weather", "city", "上海", LogType_Weather},
        {"上海", "train", "city", "上海,SHH", LogType_Train},
        {"拉萨", "train", "city", "拉萨,BJ", LogType_Train},
        {"", "train", "city", "北京,BJP", LogType_Train},
        {"上海", "hotelSearch", "cityPinyin", "sh", LogType_Hotel},
        {"拉萨", "VELMORA.accommodation", "cityPinyin", "bj", LogType_Hotel},
        // The station code is part of the city by then, so no short name matches.
        {"上海", "train", "cityPinyin", "bj", LogType_Train},
        {"成都", "flight", "", "成都", LogType_Flight},
        {"成都", "VELMORA.map", "city", "成都", LogType_Website},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.city) + " " + c.scene + " " + c.fillName);
        sim->State().city = c.city;
        TppSceneFillUrl scene;
        const std::string content = R"({"beforeUrl":)" + Q(before) + R"(,"fillName":)" + Q(c.fillName) +
                                    R"(,"afterUrl":"&from=tpp"})";
        EXPECT_EQ(Run(scene, "天气", c.scene, content), 1);
        EXPECT_EQ(scene.m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()),
                  (Lines{"VeAddress::GetCity() -> " + Q(c.city),
                         Shell(before + EscapeTppUrl(c.filled) + "&from=tpp")}));
    }
}

TEST_F(TppSceneTest, UrlSceneSetsTheLogTypeOfItsCategory) {
    const struct { const char* scene; LogType logType; } cases[] = {
        {"VELMORA.shopping", LogType_Shopping}, {"VELMORA.video", LogType_Video}, {"video", LogType_Video},
        {"musicX", LogType_Music}, {"VELMORA.map", LogType_Map}, {"websearch", LogType_WebSearch},
        {"news", LogType_News}, {"weather", LogType_Weather}, {"stock", LogType_Stock}, {"train", LogType_Train},
        {"flight", LogType_Flight}, {"cookbook", LogType_Recipe}, {"hotelSearch", LogType_Hotel},
        {"VELMORA.accommodation", LogType_Hotel}, {"VELMORA.application", LogType_Application},
        {"courier", LogType_Parcel}, {"Video", LogType_Website}, {"", LogType_Website},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scene);
        TppSceneUrl scene;
        EXPECT_EQ(Run(scene, "打开网页", c.scene, Q("https://www.163.com/")), 1);
        EXPECT_EQ(scene.m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), Lines{Shell("https://www.163.com/")});
    }
}

TEST_F(TppSceneTest, UrlSceneOpensOnlyWebAddressesAndKeepsTheirShape) {
    const struct { const char* content; const char* opened; } cases[] = {
        {"https://www.baidu.com/s?wd=北京 天气&ie=utf-8#top", "https://www.baidu.com/s?wd=%E5%8C%97%E4%BA%AC%20%E5%A4%A9%E6%B0%94&ie=utf-8#top"},
        {"http://so.iqiyi.com/so/q_%E7%94%B5%E5%BD%B1", "http://so.iqiyi.com/so/q_%E7%94%B5%E5%BD%B1"},
        {R"(HTTP://example.cn/a"b<c>{d}|e\f^g`h)", "HTTP://example.cn/a%22b%3Cc%3E%7Bd%7D%7Ce%5Cf%5Eg%60h"},
        {"https://example.cn/\t\n", "https://example.cn/%09%0A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        TppSceneUrl scene;
        EXPECT_EQ(Run(scene, "打开网页", "websearch", Q(c.content)), 1);
        EXPECT_EQ(Readable(Trace()), Lines{Shell(c.opened)});
    }
    for (const char* refused : {R"(C:\Windows\System32\calc.exe)", "file:///C:/Windows/win.ini", "cmd /c del *.*",
                                "javascript:alert(1)", "ftp://example.cn/", "https://", "www.baidu.com"}) {
        SCOPED_TRACE(refused);
        TppSceneUrl scene;
        EXPECT_EQ(Run(scene, "打开网页", "websearch", Q(refused)), 0);
        EXPECT_EQ(scene.m_logType, LogType_NotCarriedOut);
        EXPECT_EQ(Readable(Trace()), Lines{Refused(refused)});
    }
    TppSceneUrl empty;
    EXPECT_EQ(Run(empty, "打开网页", "news", Q("")), 0);
    EXPECT_EQ(empty.m_logType, LogType_NotCarriedOut);
    EXPECT_TRUE(Trace().empty());

    // The filled page is checked as a whole, the city included.
    TppSceneFillUrl fill;
    const char* content = R"({"beforeUrl":"\\\\server\\share\\","fillName":"city","afterUrl":".bat"})";
    EXPECT_EQ(Run(fill, "天气", "weather", content), 0);
    EXPECT_EQ(fill.m_logType, LogType_NotCarriedOut);
    EXPECT_EQ(Readable(Trace()), (Lines{R"(VeAddress::GetCity() -> "北京")", Refused(R"(\\server\share\北京.bat)")}));
}

// ------------------------------------------------------------------ commands from the text

TEST_F(TppSceneTest, NothingTriesTheTextAsSiteSearchOrCommand) {
    const State installed = [](vesim::SimState& s) { s.programs = {"QQ", "打开"}; };
    const struct { const char* text; State state; int result; LogType logType; Lines trace; } cases[] = {
        {"打开QQ", installed, 1, LogType_Application, {Program("QQ")}},
        // Two characters are not more than two: nothing is dropped.
        {"打开", installed, 1, LogType_Application, {Program("打开")}},
        {"打开某", kNone, 0, LogType_NotCarriedOut, Unknown("某")},
        {"看爱奇艺上的电影", kNone, 1, LogType_Video,
         {R"(CDataFactory::OpenWebsite("爱奇艺爱奇艺上的电影") -> false)", Shell("http://so.iqiyi.com/so/q_爱奇艺上的电影")}},
        {"某某东西", kNone, 0, LogType_NotCarriedOut, Unknown("某某东西")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sim->State() = {};
        c.state(sim->State());
        TppSceneNothing scene;
        EXPECT_EQ(Run(scene, c.text, "", Q("")), c.result);
        EXPECT_EQ(scene.m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
}

TEST_F(TppSceneTest, OfflineRunsTheContentElseTheText) {
    sim->State().programs = {"QQ", "微信"};
    sim->State().websites = {{"淘宝", "https://www.taobao.com/"}};
    const struct { const char* text; const char* scene; const char* content; int result; LogType logType; Lines trace; } cases[] = {
        {"打开微信", "VELMORA.application", "打开QQ", 1, LogType_Application, {Program("QQ")}},
        {"打开微信", "VELMORA.application", "", 1, LogType_Application, {Program("微信")}},
        // The host's site table acts and names its own kind.
        {"淘宝", "other", "", 1, LogType_Website,
         {R"(CDataFactory::OpenPcSoftwareLnk("淘宝") -> false)", R"(CDataFactory::OpenWebsite_Grm("淘宝") -> true)"}},
        {"打开某某", "VELMORA.application", "", 0, LogType_NotCarriedOut, Unknown("某某")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + c.content);
        TppSceneOffline scene;
        EXPECT_EQ(Run(scene, c.text, c.scene, Q(c.content)), c.result);
        EXPECT_EQ(scene.m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
    TppSceneOffline parsed;
    sim->State().programs = {"QQ"};
    EXPECT_EQ(Run(parsed, "QQ", "other", Q("")), 1);
    EXPECT_EQ(Utf8(parsed.m_stdContent), "QQ");
}

// ------------------------------------------------------------------ declined

TEST_F(TppSceneTest, ListsAndOtherResultsAreLeftToTheOnlineService) {
    const auto expectDeclined = [this](VeBasicService& scene) {
        EXPECT_EQ(Run(scene, "推荐几部电影", "video", R"({"list":[{"url":"https://v.qq.com/"}]})"), 0);
        EXPECT_EQ(scene.m_logType, LogType_NotCarriedOut);
        EXPECT_TRUE(Trace().empty());
    };
    TppSceneDialogueList dialogues;
    TppSceneOther other;
    TppSceneUrlList urls;
    expectDeclined(dialogues);
    expectDeclined(other);
    expectDeclined(urls);
}

}  // namespace
