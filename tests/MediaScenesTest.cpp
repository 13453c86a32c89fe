// The media scenes: song search and playback control, video keywords and where they open,
// dramas, news portals, hot topics, jokes and poems in the answer window.
#include <chrono>
#include <functional>

#include "LoopbackServer.h"
#include "TestSupport.h"
#include "host/HttpConfig.h"
#include "scenes/semantic/media/VeJsonCurrentHot.h"
#include "scenes/semantic/media/VeJsonDrama.h"
#include "scenes/semantic/media/VeJsonIflyVideo.h"
#include "scenes/semantic/media/VeJsonJoke.h"
#include "scenes/semantic/media/VeJsonMusic.h"
#include "scenes/semantic/media/VeJsonNews.h"
#include "scenes/semantic/media/VeJsonPoetry.h"
#include "scenes/semantic/media/VeJsonVideo.h"

using namespace vetest;

namespace {

std::string Shell(const std::string& url) { return "VeUI::VeShellExecuteA(" + Q(url) + ")"; }
std::string Search(const std::string& text) { return "CUtil::SearchInBaidu_unicode(" + Q(text) + ")"; }
std::string Site(const std::string& name, bool known = false) {
    return "CDataFactory::OpenWebsite(" + Q(name) + ") -> " + (known ? "true" : "false");
}
std::string Answer(const std::string& text) { return "VeUI::InteractiveSet(" + Q(text) + ", 2)"; }
std::string Question(const std::string& text) { return "VeUI::Tray_2(" + Q(text) + ")"; }
std::string Url(const std::string& utf8) { return VeChar::Utf8_2_Urlcode(utf8); }

// A semantic result: `semantic` is the body of the first semantic entry, `rest` more members.
std::string Result(const char* service, const std::string& semantic, const std::string& rest = "") {
    return R"({"rc":0,"service":")" + std::string(service) + R"(","semantic":[{)" + semantic + "}]" + rest + "}";
}
std::string Slots(const std::string& slots) { return R"("slots":[)" + slots + "]"; }

// The song search request the trace records, with the client's result.
std::string SongSearch(const std::string& base, const std::string& utf8Text, int result) {
    return "CVeCurl::OpenUrl_get(" + Q(base + "/song_search_v2?&keyword=" + Url(utf8Text) +
                                      "&page=1&pagesize=10&clientver=&platform=WebFilter") + ") -> " +
           std::to_string(result);
}
const std::string kSongSearchPage = "http://www.kugou.com/yy/html/search.html#searchType=song&searchKeyWord=";

class MediaSceneTest : public SimTest {
protected:
    void TearDown() override {
        vehttp::SetEndpoint("songsearch", kNoOnlineService);
        vehttp::SetTimeouts(0, 0);
    }
    // Parses the whole result as the dispatcher does and executes the scene on a cleared trace.
    template <class Scene>
    int Run(Scene& scene, const char* service, const std::string& utf8Text, const std::string& result) {
        scene.m_stdService = service;
        scene.m_stdText = Gbk(utf8Text);
        VeJson doc(result.c_str());
        EXPECT_TRUE(doc.IsValid()) << result;
        doc.Utf8ToUnicode();
        scene.Parse(doc);
        sim->ClearTrace();
        return scene.Execute();
    }
    template <class Scene>
    Lines Traced(const char* service, const std::string& utf8Text, const std::string& result) {
        Scene scene;
        EXPECT_EQ(Run(scene, service, utf8Text, result), 1);
        return Readable(Trace());
    }
};

// ---------------------------------------------------------------- music

const std::string kHit = R"({"status":1,"error_code":0,"data":{"total":2,"lists":[{"SongName":"稻香","FileHash":"A1B2","Grp":[{"FileHash":"C3D4"}]}]}})";

TEST_F(MediaSceneTest, SongSearchTextIsEveryFieldInOrder) {
    LoopbackServer server([](const std::string&) { return Http(200, R"({"data":{"lists":[]}})"); });
    ASSERT_TRUE(vehttp::SetEndpoint("songsearch", server.Url("")));
    const struct { std::string result; std::string text; } cases[] = {
        {Result("musicX", Slots(Slot("song", "稻香") + "," + Slot("artist", "周杰伦"))), "周杰伦稻香"},
        {Result("musicX", Slots(Slot("source", "G") + "," + Slot("band", "F") + "," + Slot("genre", "E") + "," +
                                Slot("area", "D") + "," + Slot("lang", "C") + "," + Slot("tags", "B") + "," +
                                Slot("song", "A") + "," + Slot("artist", "Z"))),
         "ZABCDEFG"},
        // The first alternative's tags come before the result's own.
        {Result("musicX", R"("intent":"PLAY",)" + Slots(Slot("tags", "伤感")),
                R"(,"moreResults":[{"semantic":[{"slots":[{"name":"tags","value":"怀旧"}]}]}])"),
         "怀旧"},
        {Result("VELMORA.music", Slots(Slot("tags", "伤感"))), "伤感"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(Traced<VeJsonMusic>("musicX", "", c.result),
                  (Lines{SongSearch(server.Url(""), c.text, 0), Shell(kSongSearchPage + Url(c.text))}));
    }
    EXPECT_EQ(Traced<VeJsonMusic>("musicX", "播放音乐", Result("musicX", R"("intent":"RANDOM_SEARCH")")),
              Lines{Shell("http://www.kugou.com/")});
    EXPECT_EQ(server.Requests().size(), std::size(cases));
}

TEST_F(MediaSceneTest, SongSearchReplyDecidesThePageWithinTheTimeout) {
    const std::string songPage = "http://www.kugou.com/song/#hash=";
    const std::string fallback = kSongSearchPage + Url("周杰伦稻香");
    constexpr int kAnyFailure = -1;
    const struct { const char* name; Reply reply; bool listening; int result; std::string page; } cases[] = {
        {"hit", Http(200, kHit), true, 0, songPage + "C3D4"},
        {"first hit without alternatives", Http(200, R"({"data":{"lists":[{"FileHash":"E5F6","Grp":[]}]}})"), true,
         0, songPage + "E5F6"},
        {"no hit", Http(200, R"({"status":1,"data":{"total":0,"lists":[]}})"), true, 0, fallback},
        {"not a hash", Http(200, R"({"data":{"lists":[{"FileHash":"x\" & calc"}]}})"), true, 0, fallback},
        {"not JSON", Http(200, "<html>busy</html>"), true, 0, fallback},
        {"garbage", {std::string("\x01\xfe garbage\r\n\r\n{", 16)}, true, kAnyFailure, fallback},
        {"server error", Http(500, kHit), true, vehttp::kHttpStatus, fallback},
        {"too slow", {Http(200, kHit).bytes, 15000}, true, vehttp::kHttpTimeout, fallback},
        {"closed port", {}, false, vehttp::kHttpTransport, fallback},
    };
    vehttp::SetTimeouts(300, 300);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server([&](const std::string&) { return c.reply; });
        const std::string base = c.listening ? server.Url("") : "http://127.0.0.1:" + std::to_string(ClosedPort());
        ASSERT_TRUE(vehttp::SetEndpoint("songsearch", base));
        const auto start = std::chrono::steady_clock::now();
        Lines trace = Traced<VeJsonMusic>("musicX", "播放周杰伦的稻香",
                                          Result("musicX", Slots(Slot("song", "稻香") + "," + Slot("artist", "周杰伦"))));
        if (c.result == kAnyFailure && trace.size() == 2 && !trace[0].ends_with(" -> 0"))
            trace[0] = SongSearch(base, "周杰伦稻香", kAnyFailure);  // the two HTTP clients differ on what failed
        EXPECT_EQ(trace, (Lines{SongSearch(base, "周杰伦稻香", c.result), Shell(c.page)}));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

Lines Tap(int vk, int scan) {
    const std::string key = std::to_string(vk);
    return {"keybd_event(" + key + ", 0, 0, 0)", "MapVirtualKeyW(" + key + ", 0) -> " + std::to_string(scan),
            "keybd_event(" + key + ", " + std::to_string(scan) + ", 2, 0)"};
}
Lines Volume(int value, int result) {
    Lines calls = {"CEnvironmentMonitor::SetVolume(" + std::to_string(value) + ", false) -> " + std::to_string(result)};
    if (result != -1) calls.push_back("VeUI::Tray(" + Q("音量：" + std::to_string(result)) + ", 1)");
    return calls;
}

TEST_F(MediaSceneTest, PlaybackControlPressesAKeyOrSetsTheVolume) {
    const struct { std::string slots; Lines trace; bool audio = true; } cases[] = {
        {Slot("insType", "pause"), Tap(0xB3, 0)},
        {Slot("insType", "replay"), Tap(0xB3, 0)},
        {Slot("insType", "next") + "," + Slot("song", "稻香"), Tap(0xB0, 0)},
        {Slot("insType", "past"), Tap(0xB1, 0)},
        {Slot("insType", "volume_plus"), Volume(200, 52)},
        {Slot("insType", "volume_minus"), Volume(-200, 48)},
        {Slot("insType", "volume_max"), Volume(100, 100)},
        {Slot("insType", "volume_min"), Volume(0, 0)},
        {Slot("insType", "volume_plus"), Volume(200, -1), false},
        {Slot("insType", "shuffle"), {}},
        {Slot("insType", "volume_select") + "," + Slot("series", "30"), Volume(30, 30)},
        {Slot("insType", "volume_select") + R"(,{"name":"series","value":75})", Volume(75, 75)},
        {Slot("insType", "volume_select") + "," + Slot("percent", "百"), Volume(100, 100)},
        {Slot("insType", "volume_select") + "," + Slot("percent", "零"), Volume(0, 0)},
        {Slot("insType", "volume_select") + "," + Slot("percent", "45"), Volume(45, 45)},
        {Slot("insType", "volume_select") + "," + Slot("series", "20") + "," + Slot("percent", "百"), Volume(20, 20)},
        // Out of range or unreadable: kept within the levels, or nothing at all.
        {Slot("insType", "volume_select") + "," + Slot("series", "99999999999999999999"), Volume(100, 100)},
        {Slot("insType", "volume_select") + "," + Slot("series", "-200"), Volume(0, 0)},
        {Slot("insType", "volume_select") + "," + Slot("series", "三十") + "," + Slot("percent", "百"), {}},
        {Slot("insType", "volume_select") + "," + Slot("percent", "一半"), {}},
        {Slot("insType", "volume_select") + "," + Slot("percent", "-"), {}},
        {Slot("insType", "volume_select"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        sim->State().volume = 50;
        sim->State().audioAvailable = c.audio;
        EXPECT_EQ(Traced<VeJsonMusic>("musicX", "", Result("musicX", R"("intent":"INSTRUCTION",)" + Slots(c.slots))),
                  c.trace);
    }
}

// ---------------------------------------------------------------- video

TEST_F(MediaSceneTest, VideoKeywordJoinsActorDirectorAndTitle) {
    const struct { const char* intent; std::string slots; const char* keyword; } cases[] = {
        {"film", Slot("filmIflytek", "流浪地球") + "," + Slot("actor", "吴京", "吴京"), "吴京 流浪地球"},
        {"tv_series", Slot("tvSeries", "人世间") + "," + Slot("director", "李路"), "李路 人世间"},
        {"tv_show", Slot("tvShow", "向往的生活") + "," + Slot("artist", "何炅", "何老师"), "何老师 向往的生活"},
        {"video", Slot("video", "霸王别姬") + "," + Slot("artist", "张国荣"), "张国荣 霸王别姬"},
        {"film", Slot("actor", "甲", "乙") + "," + Slot("director", nullptr, "丙"), "乙 丙"},
        {"film", Slot("film", "不读"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        VeJsonVideo scene;
        sim->State().websites = {{"爱奇艺" + std::string(c.keyword), "http://x/"}};
        Run(scene, "VELMORA.video", "", Result("VELMORA.video", R"("intent":")" + std::string(c.intent) + "\"," + Slots(c.slots)));
        EXPECT_EQ(Utf8(scene.m_stdKeyword), c.keyword);
    }
}

TEST_F(MediaSceneTest, VideoOpensOnThePlatformUnlessTheTextAsksForAWebSearch) {
    const std::string iqiyi = "http://so.iqiyi.com/so/q_";
    const struct { const char* text; std::string slots; Lines trace; std::map<std::string, std::string> sites; } cases[] = {
        {"百度搜索流浪地球", Slot("video", "流浪地球"), {Search("流浪地球")}},
        {"帮我查一下电影", Slot("video", "流浪地球"), {Search("流浪地球")}},  // the title is not in the text
        {"我想看流浪地球", Slot("video", "流浪地球"), {Site("爱奇艺流浪地球"), Shell(iqiyi + Url("流浪地球"))}},
        {"流浪地球搜索一下", Slot("video", "流浪地球"), {Site("爱奇艺流浪地球"), Shell(iqiyi + Url("流浪地球"))}},
        {"百度搜索流浪地球", Slot("video", "流浪地球") + "," + Slot("platform", "优酷"),
         {Site("优酷流浪地球"), Shell("http://www.soku.com/search_video/q_" + Url("流浪地球"))}},
        {"在优酷看流浪地球", Slot("video", "流浪地球") + "," + Slot("platform", "优酷"), {Site("优酷流浪地球", true)},
         {{"优酷流浪地球", "http://youku.example/"}}},
        {"在某站看流浪地球", Slot("video", "流浪地球") + "," + Slot("platform", "某站"),
         {Site("某站流浪地球"), Shell(iqiyi + Url("流浪地球"))}},
        {"看电影", "", {Shell("http://www.iqiyi.com/")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sim->State().websites = c.sites;
        EXPECT_EQ(Traced<VeJsonVideo>("VELMORA.video", c.text, Result("VELMORA.video", R"("intent":"video",)" + Slots(c.slots))),
                  c.trace);
    }
}

TEST_F(MediaSceneTest, IflyVideoFallsBackToTheQueryValueThenTheText) {
    const struct { std::string semantic; const char* keyword; } cases[] = {
        {R"("intent":"QUERY",)" + Slots(Slot("name", "流浪地球") + "," + Slot("artist", "吴京") + "," + Slot("tag", "科幻")),
         "流浪地球 吴京 科幻"},
        {R"("intent":"QUERY",)" + Slots(Slot("tag", "科幻") + "," + Slot("videoCategory", "电影")), "科幻"},
        {R"("intent":"QUERY",)" + Slots(Slot("videoCategory", "电影")), "电影"},
        {R"("intent":"PLAY",)" + Slots(Slot("videoCategory", "电影")), "我想看电影"},
        {R"("intent":"QUERY")", "我想看电影"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.semantic);
        VeJsonIflyVideo scene;
        Run(scene, "video", "我想看电影", Result("video", c.semantic));
        EXPECT_EQ(Utf8(scene.m_stdKeyword), c.keyword);
        EXPECT_EQ(Opened(), Lines{"http://so.iqiyi.com/so/q_" + Url(c.keyword)});
    }
}

// ---------------------------------------------------------------- drama, news, hot topics

TEST_F(MediaSceneTest, DramaOpensItsPageOrSearchesTheName) {
    const std::string slots = Slots(Slot("name", "琅琊榜"));
    const struct { std::string result; std::string page; } cases[] = {
        {Result("drama", slots, R"(,"data":{"result":[{"id":12,"url":"http://u/1","webUrl":"https://w/1?a=1&b=%E7"}]})"),
         "https://w/1?a=1&b=%E7"},
        {Result("drama", slots, R"(,"data":{"result":[{"url":"http://u/1"}]})"), "http://u/1"},
        {Result("drama", slots, R"(,"data":{"result":[{"webUrl":"calc.exe"}]})"), "https://so.iqiyi.com/so/q_琅琊榜"},
        {Result("drama", slots), "https://so.iqiyi.com/so/q_琅琊榜"},
        {Result("drama", R"("intent":"QUERY")"), "https://www.iqiyi.com/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(Traced<VeJsonDrama>("drama", "", c.result), Lines{Shell(c.page)});
    }
}

TEST_F(MediaSceneTest, NewsOpensThePortalAskedForElseBaiduNews) {
    const std::pair<const char*, const char*> cases[] = {
        {"网易", "http://news.163.com/"}, {"腾讯", "http://news.qq.com/"},   {"新浪", "http://news.sina.com.cn/"},
        {"搜狐", "http://news.sohu.com/"}, {"凤凰", "http://news.baidu.com/"}, {"", "http://news.baidu.com/"},
    };
    for (const auto& [media, page] : cases) {
        SCOPED_TRACE(media);
        EXPECT_EQ(Traced<VeJsonNews>("news", "看新闻", Result("news", Slots(*media ? Slot("media", media) : ""))),
                  Lines{Shell(page)});
    }
}

TEST_F(MediaSceneTest, CurrentHotRunsTheWebsiteSteps) {
    const auto unknown = [](const std::string& name) {
        return Lines{"CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> false",
                     "CDataFactory::OpenWebsite_Grm(" + Q(name) + ") -> false", "CEnvironmentMonitor::OsVersion() -> 10"};
    };
    const struct { std::string slots; Lines trace; } cases[] = {
        {Slot("currenthot", "热搜", "微博热搜"), Seq(unknown("微博热搜"), unknown("热搜"), Lines{Search("微博热搜")})},
        {"", Concat(unknown("今天的热点"), {Search("今天的热点")})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slots);
        VeJsonCurrentHot scene;
        EXPECT_EQ(Run(scene, "VELMORA.currentHot", "今天的热点", Result("VELMORA.currentHot", Slots(c.slots))), 1);
        EXPECT_EQ(Readable(Trace()), c.trace);
        EXPECT_EQ(scene.m_logType, LogType_Website);
    }
}

// ---------------------------------------------------------------- jokes and poems

std::string Jokes(int contents, int categories) {
    std::string items;
    for (int i = 0; i < std::max(contents, categories); ++i) {
        items += std::string(i ? "," : "") + R"({"id":)" + std::to_string(i) + R"(,"title":"t")";
        if (i < contents) items += R"(,"content":"笑话)" + std::to_string(i) + "\"";
        if (i < categories) items += R"(,"category":"类)" + std::to_string(i) + "\"";
        items += "}";
    }
    return R"(,"data":{"result":[)" + items + "]}";
}

TEST_F(MediaSceneTest, JokesShowWithCategoriesOnlyWhenEachHasOne) {
    const std::string answer = R"(,"answer":{"type":"T","text":"讲个笑话。"})";
    const struct { std::string rest; Lines shown; } cases[] = {
        {Jokes(3, 3), {Answer("类0：  笑话0"), Answer("类1：  笑话1"), Answer("类2：  笑话2")}},
        {Jokes(3, 2), {Answer("笑话0"), Answer("笑话1"), Answer("笑话2")}},
        {answer, {Answer("讲个笑话。")}},
        {"", {Answer("没有找到笑话")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rest);
        EXPECT_EQ(Traced<VeJsonJoke>("joke", "讲个笑话", Result("joke", R"("intent":"QUERY")", c.rest)),
                  Concat({Question("讲个笑话")}, c.shown));
    }
}

std::string Poem(const char* title, const char* dynasty, const char* author, const char* content) {
    return std::string(R"({"id":3,"title":")") + title + R"(","dynasty":")" + dynasty + R"(","author":")" + author +
           R"(","content":")" + content + "\"}";
}

TEST_F(MediaSceneTest, PoemsShowTitleAuthorAndContent) {
    const std::string two = R"(,"data":{"result":[)" + Poem("静夜思", "唐", "李白", "床前明月光，疑是地上霜。") + "," +
                            Poem("春晓", "唐", "孟浩然", "春眠不觉晓") + "]}";
    const struct { std::string rest; Lines trace; } cases[] = {
        {two, {Question("来首诗"), Answer("题目：静夜思\n作者：唐  李白\n内容：床前明月光，疑是地上霜。"),
               Answer("题目：春晓\n作者：唐  孟浩然\n内容：春眠不觉晓")}},
        // A poem without its author is left out; without any, the answer stands alone.
        {R"(,"data":{"result":[)" + Poem("静夜思", "唐", "李白", "床前") + R"(,{"title":"无名","dynasty":"宋","content":"x"}]})",
         {Question("来首诗"), Answer("题目：静夜思\n作者：唐  李白\n内容：床前")}},
        {R"(,"answer":{"type":"T","text":"来首李白的诗。"})", {Answer("来首李白的诗。")}},
        {"", {Answer("Sorry, 没有找到相关诗词！")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rest);
        EXPECT_EQ(Traced<VeJsonPoetry>("poetry", "来首诗", Result("poetry", R"("intent":"QUERY")", c.rest)), c.trace);
    }
}

}  // namespace
