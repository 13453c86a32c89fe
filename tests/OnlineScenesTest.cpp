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
using namespace vetest::calls;

namespace {

using Entities = std::vector<std::pair<std::string, std::string>>;
using MakeScene = std::function<std::unique_ptr<VeBasicService>()>;
using State = std::function<void(vesim::SimState&)>;

template <class Scene>
MakeScene Make() {
    return [] { return std::make_unique<Scene>(); };
}

// A reply as the service sends it (UTF-8 JSON).
std::string Reply(const std::string& scene, const std::string& message, const Entities& entities = {}) {
    std::string list;
    for (const auto& [name, value] : entities)
        list += (list.empty() ? "" : ",") + (R"({"entity":)" + Q(name) + R"(,"value":)" + Q(value) + "}");
    return R"({"scene":)" + Q(scene) + R"(,"message":)" + Q(message) + R"(,"content":{"entities":[)" + list + "]}}";
}

const std::string kPhone = "https://s.taobao.com/search?q=%E6%89%8B%E6%9C%BA";
const State kNone = [](vesim::SimState&) {};
const State kQQ = [](vesim::SimState& s) { s.programs = {"QQ"}; };

Lines Answer(const std::string& shown) { return {R"(VeUI::Tray_2("讲个笑话"))", "VeUI::InteractiveSet(" + Q(shown) + ", 2)"}; }

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

TEST_F(OnlineSceneTest, MessageIsThePageTheCommandOrTheAnswer) {
    sim->State().hostCommands = {"截图"};
    const std::string search = "https://www.baidu.com/s?wd=%E5%A4%A9%E6%B0%94";
    const struct {
        const char* scene; MakeScene make; std::string message; int result; Lines trace; LogType logType;
        const char* text = "讲个笑话";
    } cases[] = {
        // A page, else each scene's own fallback.
        {"music", Make<NoltSceneMusic>(), "", 1, {Shell("http://www.kugou.com/")}, LogType_Music},
        {"shopping", Make<NoltSceneShopping>(), "", 1, {Shell("https://www.jd.com/")}, LogType_Shopping},
        {"train", Make<NoltSceneTrain>(), "", 1, {Shell("https://www.qunar.com")}, LogType_Train},
        {"flight", Make<NoltSceneTrain>(), "HTTPS://flight.qunar.com/", 1, {Shell("HTTPS://flight.qunar.com/")}, LogType_Train},
        {"video", Make<NoltSceneVideo>(), "", 1, {Shell("http://www.iqiyi.com/")}, LogType_Video},
        {"weather", Make<NoltSceneWeather>(), "", 1, {Search("天气")}, LogType_Weather},
        {"weather", Make<NoltSceneWeather>(), search, 1, {Shell(search)}, LogType_Weather},
        {"websearch", Make<NoltSceneWebSearch>(), "", 0, {}, LogType_WebSearch},
        // A message that is no web address is refused.
        {"shopping", Make<NoltSceneShopping>(), "file:///C:/Windows/win.ini", 0,
         {Refused("file:///C:/Windows/win.ini")}, LogType_NotCarriedOut},
        {"websearch", Make<NoltSceneWebSearch>(), " https://www.baidu.com/", 0,
         {Refused(" https://www.baidu.com/")}, LogType_NotCarriedOut},
        {"website", Make<NoltSceneWebsite>(), R"(\\server\share\setup.exe)", 0,
         {Refused(R"(\\server\share\setup.exe)")}, LogType_NotCarriedOut},
        // A page is written anew: what a URL cannot hold is escaped; no host, no page.
        {"website", Make<NoltSceneWebsite>(), "http://a.example/x\" & calc & \"\r\n", 1,
         {Shell("http://a.example/x%22%20&%20calc%20&%20%22%0D%0A")}, LogType_Website},
        {"website", Make<NoltSceneWebsite>(), "http://a.example@evil.example/", 0,
         {Refused("http://a.example@evil.example/")}, LogType_NotCarriedOut},
        {"website", Make<NoltSceneWebsite>(), "http:// a.example/", 0, {Refused("http:// a.example/")},
         LogType_NotCarriedOut},
        {"website", Make<NoltSceneWebsite>(), "ftp://a.example/", 0, {Refused("ftp://a.example/")}, LogType_NotCarriedOut},
        // The host's command, only when the user said it.
        {"cmd", Make<NoltSceneCmd>(), "截图", 1, {R"(CUtil::OpenCommand("截图") -> true)"}, LogType_Base, "截图吧"},
        {"cmd", Make<NoltSceneCmd>(), "录音", 0, {R"(CUtil::OpenCommand("录音") -> false)"}, LogType_Base, "录音"},
        {"cmd", Make<NoltSceneCmd>(), "截图", 0, {NotSaid("截图")}, LogType_NotCarriedOut},
        {"cmd", Make<NoltSceneCmd>(), "", 0, {}, LogType_Base},
        // "\n" breaks the line; 乗 ends in the byte of a backslash in GBK: no escape with its 'n'.
        {"chat", Make<NoltSceneChat>(), R"(第一行\n第二行)", 1, Answer("第一行\n第二行"), LogType_Answer},
        {"chat", Make<NoltSceneChat>(), R"(a\\nb\)", 1, Answer("a\\\nb\\"), LogType_Answer},
        {"chat", Make<NoltSceneChat>(), "乗n", 1, Answer("乗n"), LogType_Answer},
        {"chat", Make<NoltSceneChat>(), "", 0, {}, LogType_NotCarriedOut},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.scene) + " " + c.message);
        auto scene = c.make();
        EXPECT_EQ(Run(*scene, c.text, Reply(c.scene, c.message, {{"website", "新浪"}})), c.result);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_EQ(scene->m_logType, c.logType);
    }
}

TEST_F(OnlineSceneTest, ChatReplacesManyLineBreaksInOnePass) {
    std::string escaped, expected;
    for (int i = 0; i < 100000; ++i) escaped += "\\n", expected += '\n';
    EXPECT_EQ(WithLineBreaks(escaped), expected);
}

TEST_F(OnlineSceneTest, ApplicationAndLinkRunTheActionThenTheMessageThenTheName) {
    const MakeScene app = Make<NoltSceneApp>(), link = Make<NoltSceneLink>();
    const State notepad = [](vesim::SimState& s) { s.windows = {{"记事本", 1234}, {"无标题 - 记事本", 77}}; };
    const struct {
        MakeScene make; const char* text; const char* action; const char* app; const char* message; State state; int result;
        Lines trace; LogType logType = LogType_Application;
    } cases[] = {
        {app, "关闭记事本", "关闭", "记事本", "", notepad, 1, kCloseNotepad},
        {app, "卸载迅雷", "卸载", "迅雷", "迅雷", kNone, 1, Uninstall("迅雷")},
        // Download goes to the table, even for a program already there.
        {app, "下载QQ", "下载", "QQ", "", kQQ, 1, {Shell("https://im.qq.com/pcqq/")}},
        // A close without such a window tells the user and starts nothing.
        {app, "关闭记事", "关闭", "记事", "记事", notepad, 0,
         {R"(FindWindowW(null, "记事") -> 0)", NotDone("没有找到要关闭的“记事”")}, LogType_NotCarriedOut},
        {app, "打开QQ", "打开", "扣扣", "QQ", kQQ, 1, {Program("QQ")}},
        // The action needs a name: without one only the message is tried.
        {app, "卸载QQ", "卸载", "", "QQ", kQQ, 1, {Program("QQ")}},
        {app, "卸载某软件", "卸载", "", "某软件", kNone, 0, Unknown("某软件")},
        {app, "", "", "", "", kNone, 0, {}},
        // What the user did not say is never closed, pressed or run: the scene declines.
        {app, "今天心情不错", "关闭", "Program Manager", "", [](vesim::SimState& s) { s.windows = {{"Program Manager", 4242}}; },
         0, {NotSaid("Program Manager")}, LogType_NotCarriedOut},
        {app, "今天心情不错", "卸载", "迅雷", "", kNone, 0, {NotSaid("迅雷")}, LogType_NotCarriedOut},
        {app, "今天心情不错", "", "删除", "", kNone, 0, {NotSaid("删除")}, LogType_NotCarriedOut},
        {app, "今天心情不错", "", "", "关闭", kNone, 0, {NotSaid("关闭")}},
        {app, "今天心情不错", "打开", "QQ", "DOS命令", kQQ, 0, {NotSaid("DOS命令"), NotSaid("QQ")}, LogType_NotCarriedOut},
        // Only a whole name: not part of a longer one said, nor with an ending added or taken off.
        {app, "关闭记事本Plus", "关闭", "Plus", "", notepad, 0, {NotSaid("Plus")}, LogType_NotCarriedOut},
        {app, "关闭记事本Plus", "关闭", "本", "", notepad, 0, {NotSaid("本")}, LogType_NotCarriedOut},
        {app, "关闭记事本Plus", "关闭", "记事本", "", notepad, 0, {NotSaid("记事本")}, LogType_NotCarriedOut},
        {app, "关闭记事本Plus", "关闭", "记事本Plus市", "", notepad, 0, {NotSaid("记事本Plus市")}, LogType_NotCarriedOut},
        {app, "帮我把记事本关掉吧", "关闭", "记事本", "", notepad, 1, kCloseNotepad},
        // A question is not a request: its command goes nowhere.
        {app, "我想知道怎么关机", "", "", "关机", kNone, 0, {Asked("关机")}},
        // A link tries the name, then the utterance, then searches the name or else the utterance.
        {link, "卸载迅雷", "卸载", "迅雷", "", kNone, 1, Uninstall("迅雷")},
        {link, "打开QQ", "", "QQ", "", kQQ, 1, {Program("QQ")}},
        {link, "QQ", "", "", "", kQQ, 1, {Program("QQ")}},
        {link, "打开某软件", "", "某软件", "", kNone, 1, Seq(Unknown("某软件"), Unknown("打开某软件"), Lines{Search("某软件")})},
        {link, "打开某软件", "", "", "", kNone, 1, Concat(Unknown("打开某软件"), {Search("打开某软件")})},
        {link, "", "", "某软件", "", kNone, 0, {NotSaid("某软件")}},
        {link, "今天心情不错", "", "DOS命令", "", kNone, 1,
         Seq(Lines{NotSaid("DOS命令")}, Unknown("今天心情不错"), Lines{Search("今天心情不错")})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + c.action + " " + c.app + " " + c.message);
        vesim::ScopedSim fresh;  // handles numbered from the start again
        c.state(fresh->State());
        auto scene = c.make();
        EXPECT_EQ(Run(*scene, c.text, Reply("application", c.message, {{"app", c.app}, {"action", c.action}})), c.result);
        EXPECT_EQ(Readable(fresh->Trace()), c.trace);
        EXPECT_EQ(scene->m_logType, c.logType);
    }
}

TEST_F(OnlineSceneTest, WebsiteOpensMessageElseParsesActionElseSearchesSite) {
    // The spoken request is the element whose "action" leaf reads "action", not an "action" entity.
    const auto reply = [](const std::string& message, const std::string& action, const std::string& site) {
        return R"({"scene":"website","message":)" + Q(message) +
               R"(,"content":{"entities":[{"entity":"action","value":"下载"},{"action":"action","value":)" + Q(action) +
               R"(},{"entity":"website","value":)" + Q(site) + "}]}}";
    };
    const struct { std::string reply; int result; Lines trace; LogType logType; } cases[] = {
        {reply("https://www.sina.com.cn/", "淘宝买手机", "新浪"), 1, {Shell("https://www.sina.com.cn/")}, LogType_Website},
        {reply("", "淘宝买手机", "新浪"), 1, {R"(CDataFactory::OpenWebsite("淘宝手机") -> false)", Shell(kPhone)}, LogType_Shopping},
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
    const struct { const char* text; int result; Lines trace; } cases[] = {
        {"淘宝买手机", 1, {R"(CDataFactory::OpenWebsite("淘宝手机") -> false)", Shell(kPhone)}},
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
