// The scenes that carry out the online service's replies: what each reply field leads to on
// the simulated desktop, and that a reply never gets anything but a web address opened.
#include <functional>
#include <memory>

#include "TestSupport.h"
#include "scenes/online/NoltSceneApp.h"
#include "scenes/online/NoltSceneChat.h"
#include "scenes/online/NoltSceneCmd.h"
#include "scenes/online/NoltSceneLink.h"
#include "scenes/online/NoltSceneMusic.h"
#include "scenes/online/NoltSceneNothing.h"
#include "scenes/online/NoltSceneRc_4.h"
#include "scenes/online/NoltSceneShopping.h"
#include "scenes/online/NoltSceneTrain.h"
#include "scenes/online/NoltSceneVideo.h"
#include "scenes/online/NoltSceneWeather.h"
#include "scenes/online/NoltSceneWebSearch.h"
#include "scenes/online/NoltSceneWebsite.h"

using namespace vetest;

namespace {

using Entities = std::vector<std::pair<std::string, std::string>>;
using MakeScene = std::function<std::unique_ptr<VeBasicService>()>;

template <class Scene>
MakeScene Make() {
    return [] { return std::make_unique<Scene>(); };
}

// A reply as the service sends it (UTF-8 JSON).
std::string Reply(const std::string& scene, const std::string& message, const Entities& entities = {}) {
    std::string list;
    for (const auto& [name, value] : entities) {
        if (!list.empty()) list += ',';
        list += R"({"entity":)";
        list += Q(name);
        list += R"(,"value":)";
        list += Q(value);
        list += '}';
    }
    return R"({"scene":)" + Q(scene) + R"(,"message":)" + Q(message) + R"(,"content":{"entities":[)" + list + "]}}";
}

const std::string kCentre = "https://pc.qq.com/search.html#!keyword=";
const std::string kProgramList = R"(WinExec("control.exe /name Microsoft.ProgramsAndFeatures", 1) -> 33)";

Lines Unknown(const std::string& name) {
    return {"CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> false",
            "CDataFactory::OpenWebsite_Grm(" + Q(name) + ") -> false", "CEnvironmentMonitor::OsVersion() -> 10"};
}
std::string Program(const std::string& name) { return "CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> true"; }
std::string Search(const std::string& text) { return "CUtil::SearchInBaidu_unicode(" + Q(text) + ")"; }
std::string Shell(const std::string& url) { return "VeUI::VeShellExecuteA(" + Q(url) + ")"; }
std::string Refused(const std::string& message) {
    return "OutputDebugStringW(" + Q("VeScene: refused to open a result that is no web address: " + message) + ")";
}

class OnlineSceneTest : public SimTest {
protected:
    // As the online thread does: text, Parse with the GBK document, Execute on a clean trace.
    int Run(VeBasicService& scene, const std::string& utf8Text, const std::string& reply) {
        scene.SetText(Gbk(utf8Text));
        VeJson doc(reply.c_str());
        EXPECT_TRUE(doc.IsValid()) << reply;
        doc.Utf8ToUnicode();
        scene.Parse(doc);
        sim->ClearTrace();
        return scene.Execute();
    }
};

TEST_F(OnlineSceneTest, ParseReadsTheMessageAndTheNamedEntities) {
    const Entities entities = {{"action", "下载"}, {"app", "微信"}, {"website", "新浪"}};
    NoltSceneApp app;
    NoltSceneLink link;
    for (NoltAppScene* scene : {static_cast<NoltAppScene*>(&app), static_cast<NoltAppScene*>(&link)}) {
        VeJson doc(Reply("application", "微信", entities).c_str());
        doc.Utf8ToUnicode();
        scene->Parse(doc);
        EXPECT_EQ(Utf8(scene->m_stdMessage), "微信");
        EXPECT_EQ(Utf8(scene->m_stdApp), "微信");
        EXPECT_EQ(Utf8(scene->m_stdAction), "下载");
        EXPECT_EQ(scene->m_logType, LogType_Application);
    }

    // The website reply marks its request by an "action" leaf reading "action".
    NoltSceneWebsite website;
    VeJson doc(R"({"message":"","content":{"entities":[{"entity":"action","value":"下载"},)"
               R"({"action":"action","value":"淘宝买手机"},{"entity":"website","value":"新浪"}]}})");
    doc.Utf8ToUnicode();
    website.Parse(doc);
    EXPECT_EQ(Utf8(website.m_stdAction), "淘宝买手机");
    EXPECT_EQ(Utf8(website.m_stdWebsite), "新浪");

    NoltSceneChat chat;
    EXPECT_EQ(chat.m_logType, LogType_Base);
    VeJson chatDoc(Reply("chat", "你好呀").c_str());
    chatDoc.Utf8ToUnicode();
    chat.Parse(chatDoc);
    EXPECT_EQ(Utf8(chat.m_stdMessage), "你好呀");
    EXPECT_EQ(chat.m_logType, LogType_Answer);
}

TEST_F(OnlineSceneTest, UrlScenesOpenTheMessageElseTheirFallback) {
    const std::string song = "http://www.kugou.com/song/#hash=6D4B7C0B2D1F&album_id=0";
    const std::string search = "https://www.baidu.com/s?wd=%E5%A4%A9%E6%B0%94";
    const struct { const char* scene; MakeScene make; std::string message; int result; Lines trace; LogType logType; } cases[] = {
        {"music", Make<NoltSceneMusic>(), "", 1, {Shell("http://www.kugou.com/")}, LogType_Music},
        {"music", Make<NoltSceneMusic>(), song, 1, {Shell(song)}, LogType_Music},
        {"shopping", Make<NoltSceneShopping>(), "", 1, {Shell("https://www.jd.com/")}, LogType_Shopping},
        {"train", Make<NoltSceneTrain>(), "", 1, {Shell("https://www.qunar.com")}, LogType_Train},
        {"flight", Make<NoltSceneTrain>(), "HTTPS://flight.qunar.com/", 1, {Shell("HTTPS://flight.qunar.com/")}, LogType_Train},
        {"video", Make<NoltSceneVideo>(), "", 1, {Shell("http://www.iqiyi.com/")}, LogType_Video},
        {"weather", Make<NoltSceneWeather>(), "", 1, {Search("天气")}, LogType_Weather},
        {"weather", Make<NoltSceneWeather>(), search, 1, {Shell(search)}, LogType_Weather},
        {"websearch", Make<NoltSceneWebSearch>(), "", 0, {}, LogType_WebSearch},
        {"websearch", Make<NoltSceneWebSearch>(), search, 1, {Shell(search)}, LogType_WebSearch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.scene) + " " + c.message);
        auto scene = c.make();
        EXPECT_EQ(Run(*scene, "随便说说", Reply(c.scene, c.message)), c.result);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_EQ(scene->m_logType, c.logType);
    }
}

TEST_F(OnlineSceneTest, AMessageThatIsNoWebAddressIsRefused) {
    const struct { const char* scene; MakeScene make; const char* message; } cases[] = {
        {"music", Make<NoltSceneMusic>(), R"(C:\Windows\System32\calc.exe)"},
        {"shopping", Make<NoltSceneShopping>(), "file:///C:/Windows/win.ini"},
        {"train", Make<NoltSceneTrain>(), "cmd.exe /c del /q C:\\*"},
        {"video", Make<NoltSceneVideo>(), "javascript:alert(1)"},
        {"weather", Make<NoltSceneWeather>(), "http://"},
        {"websearch", Make<NoltSceneWebSearch>(), " https://www.baidu.com/"},
        {"website", Make<NoltSceneWebsite>(), "\\\\server\\share\\setup.exe"},
        {"news", Make<NoltSceneWebsite>(), "notepad"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        auto scene = c.make();
        EXPECT_EQ(Run(*scene, "打开", Reply(c.scene, c.message, {{"website", "新浪"}})), 0);
        EXPECT_EQ(Readable(Trace()), Lines{Refused(c.message)});
        EXPECT_EQ(scene->m_logType, LogType_NotCarriedOut);
    }
}

TEST_F(OnlineSceneTest, ApplicationActionsThenMessageThenName) {
    const auto none = [](vesim::SimState&) {};
    const auto removable = [](vesim::SimState& s) { s.uninstallable = {"迅雷"}; };
    const auto qq = [](vesim::SimState& s) { s.programs = {"QQ"}; };
    const struct {
        const char* action; const char* app; const char* message; std::function<void(vesim::SimState&)> state;
        int result; Lines trace;
    } cases[] = {
        {"卸载", "迅雷", "", removable, 1, {R"(CDataFactory::UninstSystemExe("迅雷") -> true)"}},
        {"卸载", "迅雷", "迅雷", none, 1, {R"(CDataFactory::UninstSystemExe("迅雷") -> false)", kProgramList}},
        // Download goes to the table or the software centre, even for a program already there.
        {"下载", "QQ", "", qq, 1, {Shell("https://im.qq.com/pcqq/")}},
        {"安装", "微信", "", none, 1, {Shell("https://pc.weixin.qq.com/")}},
        {"下载", "酷狗 音乐", "", none, 1, {Shell(kCentre + "%E9%85%B7%E7%8B%97%20%E9%9F%B3%E4%B9%90")}},
        // A close without such a window: message, then name on the system table, then a search.
        {"关闭", "记事", "记事", none, 1,
         Seq(Lines{R"(FindWindowW(null, "记事") -> 0)"}, Unknown("记事"), Unknown("记事"), Lines{Search("记事")})},
        {"退出", "某软件", "", none, 1,
         Seq(Lines{R"(FindWindowW(null, "某软件") -> 0)"}, Unknown("某软件"), Lines{Search("某软件")})},
        {"打开", "扣扣", "QQ", qq, 1, {Program("QQ")}},
        // The action needs a name: without one only the message is tried.
        {"卸载", "", "QQ", qq, 1, {Program("QQ")}},
        {"卸载", "", "某软件", none, 0, Unknown("某软件")},
        {"", "", "", none, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + c.app + " " + c.message);
        sim->State() = {};
        c.state(sim->State());
        NoltSceneApp scene;
        EXPECT_EQ(Run(scene, "", Reply("application", c.message, {{"app", c.app}, {"action", c.action}})), c.result);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
}

TEST_F(OnlineSceneTest, CloseEndsTheProcessOfTheExactTitle) {
    sim->State().windows = {{"记事本", 1234}, {"无标题 - 记事本", 77}};
    NoltSceneApp app;
    EXPECT_EQ(Run(app, "关闭记事本", Reply("application", "记事本", {{"app", "记事本"}, {"action", "关闭"}})), 1);
    const Lines trace = Readable(Trace());
    ASSERT_EQ(trace.size(), 6u);
    EXPECT_EQ(trace.front(), R"(FindWindowW(null, "记事本") -> 19744)");
    EXPECT_EQ(trace.back(), "CUtil::RefreshToolbarAreaIcon()");
    EXPECT_EQ(sim->State().windows, (std::map<std::string, vewin::DWORD>{{"无标题 - 记事本", 77}}));
}

TEST_F(OnlineSceneTest, LinkTriesNameThenUtteranceThenSearches) {
    const auto none = [](vesim::SimState&) {};
    const auto qq = [](vesim::SimState& s) { s.programs = {"QQ"}; };
    const struct {
        const char* text; const char* app; const char* action; std::function<void(vesim::SimState&)> state;
        int result; Lines trace;
    } cases[] = {
        {"打开某软件", "", "", none, 1, Concat(Unknown("打开某软件"), {Search("打开某软件")})},
        {"QQ", "", "", qq, 1, {Program("QQ")}},
        {"打开扣扣", "QQ", "", qq, 1, {Program("QQ")}},
        {"打开某软件", "某软件", "", none, 1, Seq(Unknown("某软件"), Unknown("打开某软件"), Lines{Search("某软件")})},
        {"", "某软件", "", none, 0, Unknown("某软件")},
        {"", "", "", none, 0, {}},
        {"卸载迅雷", "迅雷", "卸载", none, 1, {R"(CDataFactory::UninstSystemExe("迅雷") -> false)", kProgramList}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + c.app);
        sim->State() = {};
        c.state(sim->State());
        NoltSceneLink scene;
        EXPECT_EQ(Run(scene, c.text, Reply("lnk", "", {{"app", c.app}, {"action", c.action}})), c.result);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_EQ(scene.m_logType, LogType_Application);
    }
}

TEST_F(OnlineSceneTest, ChatShowsTheUtteranceThenTheAnswerOnItsLines) {
    // 乗 ends in the byte of a backslash in GBK: no escape with the 'n' after it.
    const struct { const char* message; std::string shown; } cases[] = {
        {R"(第一行\n第二行)", "第一行\n第二行"},
        {R"(\n\n)", "\n\n"},
        {R"(a\\nb\)", "a\\\nb\\"},
        {"乗n", "乗n"},
        {"没有换行", "没有换行"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        NoltSceneChat scene;
        EXPECT_EQ(Run(scene, "讲个笑话", Reply("chat", c.message)), 1);
        EXPECT_EQ(Readable(Trace()), (Lines{R"(VeUI::Tray_2("讲个笑话"))", "VeUI::InteractiveSet(" + Q(c.shown) + ", 2)"}));
        EXPECT_EQ(scene.m_logType, LogType_Answer);
    }

    NoltSceneChat empty;
    EXPECT_EQ(Run(empty, "讲个笑话", Reply("chat", "")), 0);
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(empty.m_logType, LogType_NotCarriedOut);
}

TEST_F(OnlineSceneTest, ChatReplacesManyLineBreaksInOnePass) {
    std::string escaped, expected;
    for (int i = 0; i < 100000; ++i) escaped += "\\n", expected += '\n';
    EXPECT_EQ(WithLineBreaks(escaped), expected);
}

TEST_F(OnlineSceneTest, CmdRunsTheHostsCommand) {
    sim->State().hostCommands = {"截图"};
    const struct { const char* message; int result; Lines trace; } cases[] = {
        {"截图", 1, {R"(CUtil::OpenCommand("截图") -> true)"}},
        {"录音", 0, {R"(CUtil::OpenCommand("录音") -> false)"}},
        {"", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        NoltSceneCmd scene;
        EXPECT_EQ(Run(scene, "截个图", Reply("cmd", c.message)), c.result);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
}

TEST_F(OnlineSceneTest, WebsiteOpensMessageElseParsesActionElseSearchesSite) {
    const std::string phone = "https://s.taobao.com/search?q=%E6%89%8B%E6%9C%BA";
    const auto reply = [](const std::string& message, const std::string& action, const std::string& site) {
        return R"({"scene":"website","message":)" + Q(message) + R"(,"content":{"entities":[{"action":"action","value":)" +
               Q(action) + R"(},{"entity":"website","value":)" + Q(site) + "}]}}";
    };
    const struct { std::string reply; int result; Lines trace; LogType logType; } cases[] = {
        {reply("https://www.sina.com.cn/", "淘宝买手机", "新浪"), 1, {Shell("https://www.sina.com.cn/")}, LogType_Website},
        {reply("", "淘宝买手机", "新浪"), 1, {R"(CDataFactory::OpenWebsite("淘宝手机") -> false)", Shell(phone)}, LogType_Shopping},
        {reply("", "打开新浪", "新浪"), 1, {Search("新浪")}, LogType_Website},
        {reply("", "", ""), 0, {}, LogType_Website},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        NoltSceneWebsite scene;
        EXPECT_EQ(Run(scene, "", c.reply), c.result);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_EQ(scene.m_logType, c.logType);
    }
}

TEST_F(OnlineSceneTest, NothingAndRc4StillTrySiteParserAndSystemTable) {
    sim->State().programs = {"QQ"};
    const std::string phone = "https://s.taobao.com/search?q=%E6%89%8B%E6%9C%BA";
    const struct { const char* text; int result; Lines trace; } cases[] = {
        {"淘宝买手机", 1, {R"(CDataFactory::OpenWebsite("淘宝手机") -> false)", Shell(phone)}},
        {"QQ", 1, {Program("QQ")}},
        {"今天心情不错", 0, Unknown("今天心情不错")},
        {"", 0, {}},
    };
    for (const MakeScene& make : {Make<NoltSceneNothing>(), Make<NoltSceneRc_4>()}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            auto scene = make();
            EXPECT_EQ(Run(*scene, c.text, R"({"scene":"nothing"})"), c.result);
            EXPECT_EQ(Readable(Trace()), c.trace);
        }
    }
}

}  // namespace
