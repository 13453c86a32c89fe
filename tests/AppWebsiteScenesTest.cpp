// The application, hotkey, website and office-template scenes: which slot names the target,
// and what the simulated desktop records for each action.
#include "TestSupport.h"
#include "scenes/semantic/VeJsonApp.h"
#include "scenes/semantic/VeJsonHotkey.h"
#include "scenes/semantic/VeJsonOfficeTemplate.h"
#include "scenes/semantic/VeJsonWebsite.h"

using namespace vetest;

namespace {

// The system command table's lookups for a name it does not know.
Lines Unknown(const std::string& name) {
    return {"CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> false",
            "CDataFactory::OpenWebsite_Grm(" + Q(name) + ") -> false", "CEnvironmentMonitor::OsVersion() -> 10"};
}
std::string Search(const std::string& text) { return "CUtil::SearchInBaidu_unicode(" + Q(text) + ")"; }
std::string Shell(const std::string& url) { return "VeUI::VeShellExecuteA(" + Q(url) + ")"; }
std::string Program(const std::string& name) { return "CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> true"; }

class AppSceneTest : public SimTest {
protected:
    void SetUp() override {
        sim->State().programs = {"QQ"};
        sim->State().uninstallable = {"迅雷"};
    }
    // Fills a new scene on a cleared trace and executes it.
    template <class Scene>
    int Run(const char* service, const std::string& utf8Text, const std::string& slots, LogType* logType = nullptr) {
        sim->ClearTrace();
        Scene scene;
        Fill(scene, service, utf8Text, slots);
        const int result = scene.Execute();
        if (logType) *logType = scene.m_logType;
        return result;
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
    const struct { const char* action; const char* name; Lines trace; } cases[] = {
        {"卸载", "迅雷", {R"(CDataFactory::UninstSystemExe("迅雷") -> true)"}},
        {"卸载", "QQ", {R"(CDataFactory::UninstSystemExe("QQ") -> false)",
                        R"(WinExec("control.exe /name Microsoft.ProgramsAndFeatures", 1) -> 33)"}},
        // Download: a program already there starts; else its table row; else the centre's search.
        {"下载", "QQ", {Program("QQ")}},
        {"安装", "微信", Concat(Unknown("微信"), {Shell("https://pc.weixin.qq.com/")})},
        {"下载", "qq", Concat(Unknown("qq"), {Shell(centre + "qq")})},
        // Open, and any action the scene does not know: the name, else a web search for it.
        {"", "QQ", {Program("QQ")}},
        {"删除", "某软件", Concat(Unknown("某软件"), {Search("某软件")})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + c.name);
        EXPECT_EQ(Run<VeJsonApp>("application", "", Slot("app", c.name) + "," + Slot("action", c.action, c.action)), 1);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
}

TEST_F(AppSceneTest, CloseEndsOnlyTheProcessOfTheExactTitle) {
    const Lines closeNotepad = {R"(FindWindowW(null, "记事本") -> 19744)", "GetWindowThreadProcessId(19744) -> 1234",
                                "OpenProcess(1, 0, 1234) -> 260", "TerminateProcess(260, 0) -> 1",
                                "CloseHandle(260) -> 1", "CUtil::RefreshToolbarAreaIcon()"};
    using Windows = std::map<std::string, vewin::DWORD>;
    const Windows both = {{"记事本", 1234}, {"无标题 - 记事本", 77}};
    const struct { const char* action; const char* name; Lines trace; Windows left; } cases[] = {
        {"关闭", "记事本", closeNotepad, {{"无标题 - 记事本", 77}}},
        {"退出", "记事本", closeNotepad, {{"无标题 - 记事本", 77}}},
        {"关闭", "记事", {R"(FindWindowW(null, "记事") -> 0)"}, both},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + c.name);
        vesim::ScopedSim fresh;  // handles numbered from the start again
        fresh->State().windows = both;
        VeJsonApp scene;
        Fill(scene, "application", "", Slot("app", c.name) + "," + Slot("action", nullptr, c.action));
        EXPECT_EQ(scene.Execute(), 1);
        EXPECT_EQ(Readable(fresh->Trace()), c.trace);
        EXPECT_EQ(fresh->State().windows, c.left);
    }
}

TEST_F(AppSceneTest, NoTargetIsNotHandled) {
    VeJsonApp app;
    VeJsonHotkey hotkey;
    VeJsonWebsite website;
    Fill(app, "application", "", Slot("action", nullptr, "卸载"));
    Fill(hotkey, "hotkey", "", "");
    Fill(website, "website", "", "");
    sim->ClearTrace();
    EXPECT_EQ(app.Execute() + hotkey.Execute() + website.Execute(), 0);
    EXPECT_TRUE(Trace().empty());
}

TEST_F(AppSceneTest, HotkeyTriesNormValueThenValueThenSearches) {
    const struct { std::string slots; Lines trace; } cases[] = {
        {Slot("hotkey", "扣扣", "QQ"), {Program("QQ")}},
        {Slot("hotkey", "QQ", "甲"), Concat(Unknown("甲"), {Program("QQ")})},
        {Slot("hotkey", "乙", "甲"), Seq(Unknown("甲"), Unknown("乙"), Lines{Search("甲")})},
        {Slot("hotkey", "乙"), Concat(Unknown("乙"), {Search("乙")})},
        {Slot("other", "乙", "甲"), Concat(Unknown("打开丙"), {Search("打开丙")})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        EXPECT_EQ(Run<VeJsonHotkey>("hotkey", "打开丙", c.slots), 1);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
}

TEST_F(AppSceneTest, WebsiteGoesThroughTheSiteParserOrTheCommandTableThenSearches) {
    const auto site = [](const char* name) { return "CDataFactory::OpenWebsite(" + Q(name) + ") -> false"; };
    const struct { std::string slots; LogType logType; Lines trace; } cases[] = {
        {Slot("website", nullptr, "看爱奇艺上的电影"), LogType_Video,
         {site("爱奇艺爱奇艺上的电影"), Shell("http://so.iqiyi.com/so/q_爱奇艺上的电影")}},
        {Slot("website", "QQ"), LogType_Application, {Program("QQ")}},
        {Slot("website", "某某论坛"), LogType_Website, Concat(Unknown("某某论坛"), {Search("某某论坛")})},
        {Slot("website", "买手机", "某某论坛"), LogType_Shopping,
         Concat(Unknown("某某论坛"),
                {site("京东手机"), Shell("http://search.jd.com/search?keyword=%E6%89%8B%E6%9C%BA&enc=utf-8")})},
        // Parsed but not opened: no command-table lookup for that text.
        {Slot("website", nullptr, "看NBA直播"), LogType_Website, {site("腾讯NBA直播"), Search("看NBA直播")}},
        {"", LogType_Website, Concat(Unknown("打开丙"), {Search("打开丙")})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        LogType logType{};
        EXPECT_EQ(Run<VeJsonWebsite>("website", "打开丙", c.slots, &logType), 1);
        EXPECT_EQ(logType, c.logType);
        EXPECT_EQ(Readable(Trace()), c.trace);
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
        EXPECT_EQ(Run<VeJsonOfficeTemplate>("VELMORA.template", c.text, c.slots), c.name && c.ok ? 1 : 0);
        EXPECT_EQ(Readable(Trace()), c.name ? Lines{"CVeOffice::WordTemplate(" + Q(c.name) + ") -> " +
                                                    (c.ok ? "true" : "false")}
                                            : Lines{});
    }
}

}  // namespace
