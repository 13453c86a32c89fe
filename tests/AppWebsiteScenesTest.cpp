// The application, hotkey, website and office-template scenes: which slot names the target,
// and what the simulated desktop records for each action.
#include <algorithm>
#include <functional>

#include "TestSupport.h"
#include "scenes/semantic/VeJsonApp.h"
#include "scenes/semantic/VeJsonHotkey.h"
#include "scenes/semantic/VeJsonOfficeTemplate.h"
#include "scenes/semantic/VeJsonWebsite.h"

using namespace vetest;
using namespace vetest::calls;

namespace {

class AppSceneTest : public SimTest {
protected:
    void SetUp() override {
        sim->State().programs = {"QQ"};
        sim->State().uninstallable = {"迅雷"};
    }
    // Fills a new scene and executes it on a cleared trace, expecting Execute to answer `done`:
    // the calls it made.
    template <class Scene>
    Lines Run(const char* service, const std::string& utf8Text, const std::string& slots, int done,
              LogType* logType = nullptr) {
        sim->ClearTrace();
        Scene scene;
        Fill(scene, service, utf8Text, slots);
        EXPECT_EQ(scene.Execute(), done);
        if (logType) *logType = scene.m_logType;
        return Readable(Trace());
    }
};

TEST_F(AppSceneTest, NameComesFromTheFirstFilledSlotElseTheWholeText) {
    const struct { std::string slots; const char* name; const char* action; } cases[] = {
        {Slot("app", "微信") + "," + Slot("application", "QQ", "扣扣"), "QQ", ""},
        {Slot("application", nullptr, "扣扣") + "," + Slot("app", "微信"), "扣扣", ""},
        {Slot("application", "") + "," + Slot("app", "微信", "WeChat"), "微信", ""},
        {Slot("app", nullptr, "WeChat") + "," + Slot("action", "关掉", "关闭"), "WeChat", "关闭"},
        {"", "打开迅雷", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        VeJsonApp scene;
        Fill(scene, "application", "打开迅雷", c.slots);
        EXPECT_EQ(Utf8(scene.m_stdAppName), c.name);
        EXPECT_EQ(Utf8(scene.m_stdAction), c.action);
    }
}

TEST_F(AppSceneTest, EachActionRecordsItsCalls) {
    const std::string centre = "https://pc.qq.com/search.html#!keyword=";
    using Windows = std::map<std::string, vewin::DWORD>;
    static const Windows both = {{"记事本", 1234}, {"无标题 - 记事本", 77}}, untitled = {{"无标题 - 记事本", 77}};
    const std::string stays = "MsgWaitForSingleObject(260, 5000) -> 258", ask = "VeUI::YesOrNot(" +
        Q("“记事本”没有关闭，是否强制结束？未保存的内容将会丢失。") + ")";
    const auto keepOpen = [](vesim::SimState& s) { s.keepOpen = {"记事本"}; };
    const auto refuse = [](vesim::SimState& s) { s.keepOpen = {"记事本"}, s.yesNoAnswer = false; };
    const auto shell = [](vesim::SimState& s) { s.windows = {{"Program Manager", 4242}}; };
    const auto host = [](vesim::SimState& s) { s.windows = {{"VeScene Host", 4000}}; };
    const auto taskbar = [](vesim::SimState& s) { s.windows = {{"资源管理器", 5000}}, s.windowClasses = {{"Shell_TrayWnd", 5000}}; };
    const auto refused = [](const std::string& title) {
        return "OutputDebugStringW(" + Q("VeScene: refused to close \"" + title + "\": it is the shell or the host") + ")";
    };
    // left: the windows still open afterwards; waited: the virtual clock afterwards.
    const struct {
        const char* action; const char* name; Lines trace; Windows left = both;
        std::function<void(vesim::SimState&)> setup = [](vesim::SimState&) {}; unsigned waited = 0;
    } cases[] = {
        {"卸载", "迅雷", {R"(CDataFactory::UninstSystemExe("迅雷") -> true)"}}, {"卸载", "QQ", Uninstall("QQ")},
        // Download: a program already there starts; else its table row; else the centre's search.
        {"下载", "QQ", {Program("QQ")}},
        {"安装", "微信", Concat(Unknown("微信"), {Shell("https://pc.weixin.qq.com/")})},
        {"下载", "qq", Concat(Unknown("qq"), {Shell(centre + "qq")})},
        // Open, and any action the scene does not know: the name, else a web search for it.
        {"", "QQ", {Program("QQ")}},
        {"删除", "某软件", Concat(Unknown("某软件"), {Search("某软件")})},
        // Close asks only the process of the exact title to close; it is ended only when it stays
        // and the user says yes.
        {"关闭", "记事本", kCloseNotepad, untitled}, {"退出", "记事本", kCloseNotepad, untitled},
        {"关闭", "记事本", Concat(kAskNotepad, {stays, ask + " -> true", "TerminateProcess(260, 0) -> 1",
                                                "CloseHandle(260) -> 1", "CUtil::RefreshToolbarAreaIcon()"}),
         untitled, keepOpen, 5000},
        {"关闭", "记事本", Concat(kAskNotepad, {stays, ask + " -> false", "CloseHandle(260) -> 1"}), both, refuse, 5000},
        // Only the window named gets WM_CLOSE; a process with another window of its own keeps it and
        // is never ended. Its hidden windows (an input method's) are no windows of its own: they go with it.
        {"关闭", "记事本",
         Seq(FindToClose("记事本", 1234), Lines{"OpenProcess(1052673, 0, 1234) -> 260", "EnumWindows() -> 3",
                                          "GetWindowThreadProcessId(1232) -> 77", "GetWindowThreadProcessId(19746) -> 1234",
                                          "IsWindowVisible(19746) -> 1", "GetWindow(19746, 4) -> 0",
                                          "PostMessageW(19744, 16, 0, 0) -> 1", "CloseHandle(260) -> 1"}),
         {{"无标题 - 记事本", 77}, {"记事本 - 2", 1234}}, [](vesim::SimState& s) { s.windows["记事本 - 2"] = 1234; }},
        {"关闭", "记事本",
         Seq(FindToClose("记事本", 1234), Lines{"OpenProcess(1052673, 0, 1234) -> 260", "EnumWindows() -> 3",
                                          "GetWindowThreadProcessId(19746) -> 1234", "IsWindowVisible(19746) -> 0",
                                          "GetWindowThreadProcessId(1232) -> 77", R"(QueryFullProcessImageNameW(260) -> "")",
                                          "PostMessageW(19744, 16, 0, 0) -> 1"}, Lines(kCloseNotepad.end() - 3, kCloseNotepad.end())),
         untitled, [](vesim::SimState& s) { s.windows["IME"] = 1234, s.hiddenWindows = {"IME"}; }},
        // The Store apps' shared frame host: its window is asked, the host itself never offered to end.
        {"关闭", "计算器",
         Seq(FindToClose("计算器", 3000), Lines{"OpenProcess(1052673, 0, 3000) -> 260", "EnumWindows() -> 2",
                                          "GetWindowThreadProcessId(1232) -> 77",
                                          R"(QueryFullProcessImageNameW(260) -> "C:\\Windows\\System32\\ApplicationFrameHost.exe")",
                                          "PostMessageW(48000, 16, 0, 0) -> 1", "CloseHandle(260) -> 1"}),
         {{"无标题 - 记事本", 77}, {"计算器", 3000}},
         [](vesim::SimState& s) {
             s.windows = {{"无标题 - 记事本", 77}, {"计算器", 3000}}, s.keepOpen = {"计算器"},
             s.processImages = {{3000, "C:\\Windows\\System32\\ApplicationFrameHost.exe"}};
         }},
        // Never the shell, the task bar or the host.
        {"关闭", "Program Manager",
         {R"(FindWindowW(null, "Program Manager") -> 67872)", "GetWindowThreadProcessId(67872) -> 4242",
          "GetCurrentProcessId() -> 4000", "GetDesktopWindow() -> 65552", "GetShellWindow() -> 67872",
          R"(FindWindowW("Shell_TrayWnd", null) -> 0)", "GetWindowThreadProcessId(65552) -> 4097",
          "GetWindowThreadProcessId(67872) -> 4242", refused("Program Manager"), NotDone("“Program Manager”不能关闭")},
         {{"Program Manager", 4242}}, shell},
        {"关闭", "资源管理器",
         {R"(FindWindowW(null, "资源管理器") -> 80000)", "GetWindowThreadProcessId(80000) -> 5000",
          "GetCurrentProcessId() -> 4000", "GetDesktopWindow() -> 65552", "GetShellWindow() -> 0",
          R"(FindWindowW("Shell_TrayWnd", null) -> 80001)", "GetWindowThreadProcessId(65552) -> 4097",
          "GetWindowThreadProcessId(80001) -> 5000", refused("资源管理器"), NotDone("“资源管理器”不能关闭")},
         {{"资源管理器", 5000}}, taskbar},
        {"关闭", "VeScene Host",
         {R"(FindWindowW(null, "VeScene Host") -> 64000)", "GetWindowThreadProcessId(64000) -> 4000",
          "GetCurrentProcessId() -> 4000", refused("VeScene Host"), NotDone("“VeScene Host”不能关闭")},
         {{"VeScene Host", 4000}}, host},
        // Nothing to close: the user is told, and nothing starts.
        {"关闭", "记事", {R"(FindWindowW(null, "记事") -> 0)", NotDone("没有找到要关闭的“记事”")}},
        {"卸载", nullptr, {}},  // no target: not handled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + (c.name ? c.name : "(none)"));
        vesim::ScopedSim fresh;  // handles numbered from the start again
        fresh->State().programs = {"QQ"};
        fresh->State().uninstallable = {"迅雷"};
        fresh->State().windows = both;
        c.setup(fresh->State());
        VeJsonApp scene;
        Fill(scene, "application", "", (c.name ? Slot("app", c.name) + "," : "") + Slot("action", c.action, c.action));
        const bool no = std::count(c.trace.begin(), c.trace.end(), ask + " -> false") > 0;
        EXPECT_EQ(scene.Execute(), Declined(c.trace) || no ? 0 : 1);
        EXPECT_EQ(Readable(fresh->Trace()), c.trace);
        EXPECT_EQ(fresh->State().windows, c.left);
        EXPECT_EQ(fresh->Clock(), c.waited);
    }
}

TEST_F(AppSceneTest, HotkeyTriesNormValueThenValueThenSearches) {
    const struct { std::string slots; Lines trace; const char* text = "打开丙"; } cases[] = {
        {Slot("hotkey", "扣扣", "QQ"), {Program("QQ")}},
        {Slot("hotkey", "QQ", "甲"), Concat(Unknown("甲"), {Program("QQ")})},
        {Slot("hotkey", "乙", "甲"), Seq(Unknown("甲"), Unknown("乙"), Lines{Search("甲")})},
        {Slot("hotkey", "乙"), Concat(Unknown("乙"), {Search("乙")})},
        {Slot("other", "乙", "甲"), Concat(Unknown("打开丙"), {Search("打开丙")})},
        {"", {}, ""},  // no target: not handled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        EXPECT_EQ(Run<VeJsonHotkey>("hotkey", c.text, c.slots, c.trace.empty() ? 0 : 1), c.trace);
    }
}

TEST_F(AppSceneTest, WebsiteGoesThroughTheSiteParserOrTheCommandTableThenSearches) {
    const struct { std::string slots; LogType logType; Lines trace; const char* text = "打开丙"; } cases[] = {
        {Slot("website", nullptr, "看爱奇艺上的电影"), LogType_Video,
         {Site("爱奇艺爱奇艺上的电影"), Shell("http://so.iqiyi.com/so/q_爱奇艺上的电影")}},
        {Slot("website", "QQ"), LogType_Application, {Program("QQ")}},
        {Slot("website", "某某论坛"), LogType_Website, Concat(Unknown("某某论坛"), {Search("某某论坛")})},
        {Slot("website", "买手机", "某某论坛"), LogType_Shopping,
         Concat(Unknown("某某论坛"),
                {Site("京东手机"), Shell("http://search.jd.com/search?keyword=%E6%89%8B%E6%9C%BA&enc=utf-8")})},
        // Parsed but not opened: no command-table lookup for that text.
        {Slot("website", nullptr, "看NBA直播"), LogType_Website, {Site("腾讯NBA直播"), Search("看NBA直播")}},
        {"", LogType_Website, Concat(Unknown("打开丙"), {Search("打开丙")})},
        {"", LogType_Website, {}, ""},  // no target: not handled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        LogType logType{};
        EXPECT_EQ(Run<VeJsonWebsite>("website", c.text, c.slots, c.trace.empty() ? 0 : 1, &logType), c.trace);
        EXPECT_EQ(logType, c.logType);
    }
}

TEST_F(AppSceneTest, OfficeTemplateNameAndTheOfficeVerdict) {
    const struct { std::string slots; const char* text; bool ok; const char* name; } cases[] = {
        {Slot("template", "个人简历", "简历"), "新建简历", true, "简历"},
        {Slot("template", "个人简历"), "新建简历", true, "个人简历"},
        {"", "新建简历", true, "新建简历"},
        {Slot("template", "简历"), "新建简历", false, "简历"},
        {"", "", true, nullptr},  // no name: the office library is not asked
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots + c.text);
        sim->State().wordTemplateOk = c.ok;
        EXPECT_EQ(Run<VeJsonOfficeTemplate>("VELMORA.template", c.text, c.slots, c.name && c.ok ? 1 : 0),
                  c.name ? Lines{"CVeOffice::WordTemplate(" + Q(c.name) + ") -> " + (c.ok ? "true" : "false")} : Lines{});
    }
}

}  // namespace
