// The TPP engine's scenes, fed results shaped as the engine sends them and converted as the
// dispatcher converts them; asserted on the simulated desktop's trace.
#include <functional>
#include <memory>

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
using namespace vetest::calls;

namespace {

using MakeScene = std::function<std::unique_ptr<VeBasicService>()>;
template <class Scene>
MakeScene New() {
    return [] { return std::make_unique<Scene>(); };
}

Lines Answer(const std::string& answer) { return {R"(VeUI::Tray_2("你好"))", "VeUI::InteractiveSet(" + Q(answer) + ", 2)"}; }

class TppSceneTest : public SimTest {
protected:
    // Gives the scene the text and a TPP result ("content" as JSON text: an object or a string),
    // parses and executes it on a cleared trace.
    int Run(VeBasicService& scene, const std::string& utf8Text, const std::string& sceneName, const std::string& content) {
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

TEST_F(TppSceneTest, AppActionsWithTheResultsCommandAndPage) {
    sim->State().programs = {"QQ", "打开QQ"};
    sim->State().uninstallable = {"迅雷"};
    sim->State().hostCommands = {"setup_tool"};
    const char* page = "https://dldir1.qq.com/tool.exe";
    const struct { const char* text; std::string content; Lines trace; } cases[] = {
        // No action opens; no name takes the whole text.
        {"打开QQ", "{}", {Program("打开QQ")}},
        {"", AppContent("", ""), {}},
        {"卸载QQ", AppContent("卸载", "QQ"), Uninstall("QQ")},
        // Download: the desktop's program first, then the command, then the page, else the centre.
        {"下载QQ", AppContent("下载", "QQ", page, "setup_tool"), {Program("QQ")}},
        {"下载工具", AppContent("下载", "工具", page, "setup_tool"),
         Concat(Unknown("工具"), {R"(CUtil::OpenCommand("setup_tool") -> true)"})},
        {"安装工具", AppContent("安装", "工具", page), Concat(Unknown("工具"), {Shell(page)})},
        // A page that is no web address is passed over as if there were none.
        {"下载工具", AppContent("下载", "工具", R"(C:\tools\setup.exe)"),
         Concat(Unknown("工具"), {Refused(R"(C:\tools\setup.exe)"), Shell("https://pc.qq.com/search.html#!keyword=%E5%B7%A5%E5%85%B7")})},
        {"打开工具", AppContent("打开", "工具", "file:///C:/Windows/System32/cmd.exe"),
         Concat(Unknown("工具"), {Refused("file:///C:/Windows/System32/cmd.exe"), Search("工具")})},
        {"关闭画图", AppContent("关闭", "画图"), {R"(FindWindowW(null, "画图") -> 0)", NotDone("没有找到要关闭的“画图”")}},
        {"关闭记事本Plus", AppContent("关闭", "记事本"), {NotSaid("记事本")}},
        {"卸载微信", AppContent("卸载", "微信新区"), {NotSaid("微信新区")}},
        {"怎么卸载迅雷", AppContent("卸载", "迅雷"), {Asked("迅雷")}},
        {"迅雷卸了吧", AppContent("卸载", "迅雷"), {R"(CDataFactory::UninstSystemExe("迅雷") -> true)"}},
        // A name the user did not say: no close, no program, no command.
        {"今天心情不错", AppContent("关闭", "Program Manager"), {NotSaid("Program Manager")}},
        {"今天心情不错", AppContent("打开", "DOS命令"), {NotSaid("DOS命令")}},
        {"你好", AppContent("下载", "工具", page, "setup_tool"), {NotSaid("工具")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        TppSceneApp scene;
        const int result = Run(scene, c.text, "VELMORA.application", c.content);
        EXPECT_EQ(result, Declined(c.trace) ? 0 : 1);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_EQ(scene.m_logType, result ? LogType_Application : LogType_NotCarriedOut);
    }
}

TEST_F(TppSceneTest, CommandsKeysAndAnswersAreCarriedOutOrDeclined) {
    sim->State().hostCommands = {"volume_up"};
    const MakeScene cmd = New<TppSceneCmd>(), key = New<TppSceneCombKey>(), dialogue = New<TppSceneDialogue>(),
                    entity = New<TppSceneEntity>();
    const std::string poem(3000, 'x');  // far longer than any fixed formatting buffer
    const struct {
        MakeScene make; const char* scene; std::string content; LogType logType; Lines trace; const char* text = "你好";
    } cases[] = {
        // The host's command runs whatever it answers.
        {cmd, "", Q("volume_up"), LogType_Base, {R"(CUtil::OpenCommand("volume_up") -> true)"}},
        {cmd, "", Q("no_such"), LogType_Base, {R"(CUtil::OpenCommand("no_such") -> false)"}},
        {cmd, "", Q(""), LogType_NotCarriedOut, {}},
        // Only the track and play keys, spelt exactly, are pressed: never mute (173) or stop (178).
        {key, "", Q("176"), LogType_Base, Tap(176, 0x19)}, {key, "", Q("177"), LogType_Base, Tap(177, 0x10)},
        {key, "", Q("179"), LogType_Base, Tap(179, 0x22)}, {key, "", Q("173"), LogType_NotCarriedOut, {}},
        {key, "", Q("178"), LogType_NotCarriedOut, {}}, {key, "", Q(" 176"), LogType_NotCarriedOut, {}},
        {key, "", Q("0176"), LogType_NotCarriedOut, {}}, {key, "", Q(""), LogType_NotCarriedOut, {}},
        // "\n" breaks the line; 乗 ends in a backslash byte in GBK and is kept whole.
        {dialogue, "translation", Q(R"(乗n\n行)"), LogType_Translation, Answer("乗n\n行")},
        {dialogue, "joke", Q(R"(\\n后\)"), LogType_Joke, Answer("\\\n后\\")},
        {dialogue, "", Q("你好"), LogType_Answer, Answer("你好")},
        {dialogue, "joke", Q(""), LogType_NotCarriedOut, {}},
        // Every label shows, even when empty.
        {entity, "poetry", R"({"title":"静夜思","author":"李白","content":"床前明月光"})", LogType_Poetry,
         Answer("题目：静夜思\n作者：李白\n内容：床前明月光")},
        {entity, "baike", R"({"content":")" + poem + R"("})", LogType_Answer, Answer("题目：\n作者：\n内容：" + poem)},
        {entity, "poetry", R"({"title":"","author":""})", LogType_NotCarriedOut, {}},
        // Lists and other results are left to the online service.
        {New<TppSceneDialogueList>(), "video", R"({"list":[{"url":"https://v.qq.com/"}]})", LogType_NotCarriedOut, {}},
        {New<TppSceneOther>(), "video", R"({"list":[{"url":"https://v.qq.com/"}]})", LogType_NotCarriedOut, {}},
        {New<TppSceneUrlList>(), "video", R"({"list":[{"url":"https://v.qq.com/"}]})", LogType_NotCarriedOut, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.substr(0, 60));
        auto scene = c.make();
        EXPECT_EQ(Run(*scene, c.text, c.scene, c.content), Declined(c.trace) ? 0 : 1);
        EXPECT_EQ(scene->m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_TRUE(sim->HeldKeys().empty());
    }
}

TEST_F(TppSceneTest, FillUrlPutsTheCityItsStationOrItsShortNameInTheUrl) {
    const std::string before = "https://www.example.cn/s?q=";
    const struct {
        const char* city; const char* scene; const char* fillName; const char* filled; LogType logType;
    } cases[] = {
        {"", "weather", "city", "%E5%8C%97%E4%BA%AC", LogType_Weather},  // 北京
        {"上海", "train", "city", "%E4%B8%8A%E6%B5%B7,SHH", LogType_Train},
        {"拉萨", "train", "city", "%E6%8B%89%E8%90%A8,LSO", LogType_Train},
        {"资阳", "train", "city", "%E8%B5%84%E9%98%B3,BJ", LogType_Train},  // no station of its own
        // The city fills a value: it cannot add a parameter, a path or a fragment.
        {"a&x=1/#y z", "weather", "city", "a%26x%3D1/%23y%20z", LogType_Weather},
        {"上海", "hotelSearch", "cityPinyin", "sh", LogType_Hotel},
        {"拉萨", "VELMORA.accommodation", "cityPinyin", "bj", LogType_Hotel},
        // The station code is part of the city by then, so no short name matches.
        {"上海", "train", "cityPinyin", "bj", LogType_Train},
        {"成都", "flight", "", "%E6%88%90%E9%83%BD", LogType_Flight},
        {"成都", "VELMORA.map", "city", "%E6%88%90%E9%83%BD", LogType_Website},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.city) + " " + c.scene + " " + c.fillName);
        sim->State().city = c.city;
        TppSceneFillUrl scene;
        const std::string content = R"({"beforeUrl":)" + Q(before) + R"(,"fillName":)" + Q(c.fillName) +
                                    R"(,"afterUrl":"&from=tpp"})";
        EXPECT_EQ(Run(scene, "天气", c.scene, content), 1);
        EXPECT_EQ(scene.m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), (Lines{"VeAddress::GetCity() -> " + Q(c.city),
                                            Shell(before + c.filled + "&from=tpp")}));
    }
    // The filled page is checked as a whole, the city included.
    sim->State().city = "";
    TppSceneFillUrl share;
    EXPECT_EQ(Run(share, "天气", "weather", R"({"beforeUrl":"\\\\server\\share\\","fillName":"city","afterUrl":".bat"})"), 0);
    EXPECT_EQ(share.m_logType, LogType_NotCarriedOut);
    EXPECT_EQ(Readable(Trace()), (Lines{R"(VeAddress::GetCity() -> "")", Refused(R"(\\server\share\%E5%8C%97%E4%BA%AC.bat)")}));
}

TEST_F(TppSceneTest, UrlSceneOpensOnlyWebAddressesAndLogsItsCategory) {
    const struct { const char* scene; LogType logType; } kinds[] = {
        {"VELMORA.video", LogType_Video}, {"video", LogType_Video}, {"musicX", LogType_Music}, {"cookbook", LogType_Recipe},
        {"hotelSearch", LogType_Hotel}, {"VELMORA.accommodation", LogType_Hotel}, {"courier", LogType_Parcel},
        {"Video", LogType_Website}, {"", LogType_Website},
    };
    for (const auto& k : kinds) {
        TppSceneUrl scene;
        EXPECT_EQ(Run(scene, "打开网页", k.scene, Q("https://www.163.com/")), 1);
        EXPECT_EQ(scene.m_logType, k.logType) << k.scene;
    }
    // Opened in the engine's shape: characters outside a URL escaped, escapes already there kept.
    const struct { const char* content; const char* opened; } cases[] = {
        {"https://www.baidu.com/s?wd=北京 天气&ie=utf-8#top", "https://www.baidu.com/s?wd=%E5%8C%97%E4%BA%AC%20%E5%A4%A9%E6%B0%94&ie=utf-8#top"},
        {"HTTP://example.cn/q_%E7%94%B5\"<>{}|\\^`\t\n", "HTTP://example.cn/q_%E7%94%B5%22%3C%3E%7B%7D%7C%5C%5E%60%09%0A"},
        {"http://example.cn/x' & calc\r\n%", "http://example.cn/x%27%20&%20calc%0D%0A%25"},
        // Checked and written from the Unicode text: what GBK cannot hold is never a '?'.
        {"https://zh.wikipedia.org/wiki/😀", "https://zh.wikipedia.org/wiki/%F0%9F%98%80"},
    };
    for (const auto& c : cases) {
        TppSceneUrl scene;
        EXPECT_EQ(Run(scene, "打开网页", "websearch", Q(c.content)), 1);
        EXPECT_EQ(Readable(Trace()), Lines{Shell(c.opened)});
    }
    for (const char* refused : {"http://evil.com\u200b.paypal.com/", R"(C:\Windows\System32\calc.exe)", "file:///C:/Windows/win.ini", "cmd /c del *.*",
                                "javascript:alert(1)", "ftp://example.cn/", "https://", " https://example.cn/",
                                R"(\\server\share\setup.exe)", "www.baidu.com", "http:///x", "http://a@evil.example/",
                                "http://evil.example\r\n/", ""}) {
        SCOPED_TRACE(refused);
        TppSceneUrl scene;
        EXPECT_EQ(Run(scene, "打开网页", "websearch", Q(refused)), 0);
        EXPECT_EQ(scene.m_logType, LogType_NotCarriedOut);
        EXPECT_EQ(Readable(Trace()), *refused ? Lines{Refused(refused)} : Lines{});
    }
}

TEST_F(TppSceneTest, NothingAndOfflineTryTheTextAsSiteSearchOrCommand) {
    sim->State().programs = {"QQ", "微信", "打开"};
    sim->State().websites = {{"淘宝", "https://www.taobao.com/"}};
    const MakeScene nothing = New<TppSceneNothing>(), offline = New<TppSceneOffline>();
    const struct { MakeScene make; const char* text; const char* scene; const char* content; LogType logType; Lines trace; } cases[] = {
        {nothing, "打开QQ", "", "", LogType_Application, {Program("QQ")}},
        // Two characters are not more than two: nothing is dropped.
        {nothing, "打开", "", "", LogType_Application, {Program("打开")}},
        {nothing, "看爱奇艺上的电影", "", "", LogType_Video,
         {R"(CDataFactory::OpenWebsite("爱奇艺爱奇艺上的电影") -> false)", Shell("http://so.iqiyi.com/so/q_爱奇艺上的电影")}},
        {nothing, "某某东西", "", "", LogType_NotCarriedOut, Unknown("某某东西")},
        // Offline runs its content, else the text.
        {offline, "请打开QQ", "VELMORA.application", "打开QQ", LogType_Application, {Program("QQ")}},
        {offline, "今天心情不错", "VELMORA.application", "删除", LogType_NotCarriedOut, {NotSaid("删除")}},
        // A question of how to do it is not a request to do it.
        {offline, "怎么删除文件", "VELMORA.application", "删除", LogType_NotCarriedOut, {Asked("删除")}},
        {offline, "全选是什么意思？", "VELMORA.application", "全选", LogType_NotCarriedOut, {Asked("全选")}},
        {offline, "打开微信", "VELMORA.application", "", LogType_Application, {Program("微信")}},
        // The host's site table acts and names its own kind.
        {offline, "淘宝", "other", "", LogType_Website,
         {R"(CDataFactory::OpenPcSoftwareLnk("淘宝") -> false)", R"(CDataFactory::OpenWebsite_Grm("淘宝") -> true)"}},
        {offline, "打开某某", "VELMORA.application", "", LogType_NotCarriedOut, Unknown("某某")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + c.content);
        auto scene = c.make();
        EXPECT_EQ(Run(*scene, c.text, c.scene, Q(c.content)), c.logType == LogType_NotCarriedOut ? 0 : 1);
        EXPECT_EQ(scene->m_logType, c.logType);
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
}

}  // namespace
