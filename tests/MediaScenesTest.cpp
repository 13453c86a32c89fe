// The media scenes: song search and playback control, video keywords and where they open,
// dramas, news portals, hot topics, jokes and poems in the answer window.
#include <chrono>

#include "LoopbackServer.h"
#include "TestSupport.h"
#include "platform/HttpConfig.h"
#include "scenes/semantic/media/VeJsonCurrentHot.h"
#include "scenes/semantic/media/VeJsonDrama.h"
#include "scenes/semantic/media/VeJsonEngineVideo.h"
#include "scenes/semantic/media/VeJsonJoke.h"
#include "scenes/semantic/media/VeJsonMusic.h"
#include "scenes/semantic/media/VeJsonNews.h"
#include "scenes/semantic/media/VeJsonPoetry.h"
#include "scenes/semantic/media/VeJsonVideo.h"

using namespace vetest;
using namespace vetest::calls;

namespace {

std::string Answer(const std::string& text) { return "VeUI::InteractiveSet(" + Q(text) + ", 2)"; }
std::string Question(const std::string& text) { return "VeUI::Tray_2(" + Q(text) + ")"; }

// A semantic result: `semantic` is the body of the first semantic entry, `rest` more members.
std::string Result(const char* service, const std::string& semantic, const std::string& rest = "") {
    return R"({"rc":0,"service":")" + std::string(service) + R"(","semantic":[{)" + semantic + "}]" + rest + "}";
}
std::string Slots(const std::string& slots) { return R"("slots":[)" + slots + "]"; }

std::string SongSearch(const std::string& base, const std::string& utf8Text, int result) {
    return "CVeCurl::OpenUrl_get(" + Q(base + "/song_search_v2?&keyword=" + Enc(utf8Text) +
                                      "&page=1&pagesize=10&clientver=&platform=WebFilter") + ") -> " +
           std::to_string(result);
}
// The video site's search, after the host's own web sites had no page for it.
Lines Iqiyi(const std::string& keyword) {
    return {Site("爱奇艺" + keyword), Shell("http://so.iqiyi.com/so/q_" + Enc(keyword))};
}
const std::string kSongSearchPage = "http://www.kugou.com/yy/html/search.html#searchType=song&searchKeyWord=";

class MediaSceneTest : public SceneTest {
protected:
    void TearDown() override {
        vehttp::SetEndpoint("songsearch", kNoOnlineService);
        vehttp::SetTimeouts(0, 0);
    }
    // Each whole result and the calls it leads to.
    template <class Scene>
    void Check(const char* service, const std::string& utf8Text, const std::vector<std::pair<std::string, Lines>>& cases) {
        for (const auto& [result, trace] : cases) EXPECT_EQ(Executed<Scene>(service, utf8Text, result, true), trace) << result;
    }
};

// ---------------------------------------------------------------- music

const std::string kNetUp = "CEnvironmentMonitor::CheckNet(false) -> true";

TEST_F(MediaSceneTest, SongSearchReplyDecidesThePageWithinTheTimeout) {
    const std::string songPage = "http://www.kugou.com/song/#hash=";
    const std::string fallback = kSongSearchPage + Enc("周杰伦稻香");
    const std::string hit = R"({"data":{"total":2,"lists":[{"FileHash":"A1B2","Grp":[{"FileHash":"C3D4"}]}]}})";
    constexpr int kAnyFailure = -1, kNotAsked = 1;
    enum Service { Listening, Closed, NotNamed, NetDown };
    const struct { const char* name; Reply reply; Service service; int result; std::string page; } cases[] = {
        {"hit", Http(200, hit), Listening, 0, songPage + "C3D4"},
        {"first hit without alternatives", Http(200, R"({"data":{"lists":[{"FileHash":"E5F6","Grp":[]}]}})"), Listening,
         0, songPage + "E5F6"},
        {"not a hash", Http(200, R"({"data":{"lists":[{"FileHash":"x\" & calc"}]}})"), Listening, 0, fallback},
        {"garbage", {std::string("\x01\xfe garbage\r\n\r\n{", 16)}, Listening, kAnyFailure, fallback},
        {"server error", Http(500, hit), Listening, vehttp::kHttpStatus, fallback},
        {"too slow", {Http(200, hit).bytes, 15000}, Listening, vehttp::kHttpTimeout, fallback},
        {"closed port", {}, Closed, vehttp::kHttpTransport, fallback},
        // Nothing leaves the machine before the host names the service, nor while the network is down.
        {"no service named", Http(200, hit), NotNamed, kNotAsked, fallback},
        {"network down", Http(200, hit), NetDown, kNotAsked, fallback},
    };
    vehttp::SetTimeouts(300, 300);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int requests = 0;
        LoopbackServer server([&](const std::string&) { return ++requests, c.reply; });
        const std::string base = c.service == Closed ? "http://127.0.0.1:" + std::to_string(ClosedPort()) : server.Url("");
        ASSERT_TRUE(vehttp::SetEndpoint("songsearch", c.service == NotNamed ? "" : base));
        sim->State().network = c.service != NetDown;
        const auto start = std::chrono::steady_clock::now();
        Lines trace = Executed<VeJsonMusic>(
            "musicX", "播放周杰伦的稻香", Result("musicX", Slots(Slot("song", "稻香") + "," + Slot("artist", "周杰伦"))), true);
        if (c.result == kAnyFailure && trace.size() == 3 && !trace[1].ends_with(" -> 0"))
            trace[1] = SongSearch(base, "周杰伦稻香", kAnyFailure);  // the two HTTP clients differ on what failed
        Lines expected = {kNetUp, SongSearch(base, "周杰伦稻香", c.result), Shell(c.page)};
        if (c.service == NotNamed) expected = {Shell(c.page)};
        if (c.service == NetDown) expected = {"CEnvironmentMonitor::CheckNet(false) -> false", Shell(c.page)};
        EXPECT_EQ(trace, expected);
        if (c.result == kNotAsked) EXPECT_EQ(requests, 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

TEST_F(MediaSceneTest, MusicSearchesEveryFieldInOrderOrPressesAKeyOrSetsTheVolume) {
    const auto play = [](const std::string& text) {
        return Lines{kNetUp, SongSearch(kNoOnlineService, text, vehttp::kHttpTransport), Shell(kSongSearchPage + Enc(text))};
    };
    const auto volume = [](int value, int result) {
        Lines calls = {"CEnvironmentMonitor::SetVolume(" + std::to_string(value) + ", false) -> " + std::to_string(result)};
        if (result != -1) calls.push_back("VeUI::Tray(" + Q("音量：" + std::to_string(result)) + ", 1)");
        return calls;
    };
    const auto ins = [](const char* type, const std::string& more = "") {
        return Result("musicX", R"("intent":"INSTRUCTION",)" + Slots(Slot("insType", type) + more));
    };
    const auto sel = [&](const std::string& slots) { return ins("volume_select", "," + slots); };
    const struct { std::string result; Lines trace; bool audio = true; int done = 1; } cases[] = {
        {Result("musicX", Slots(Slot("source", "G") + "," + Slot("band", "F") + "," + Slot("genre", "E") + "," +
                                Slot("area", "D") + "," + Slot("lang", "C") + "," + Slot("tags", "B") + "," +
                                Slot("song", "A") + "," + Slot("artist", "Z"))),
         play("ZABCDEFG")},
        // The first alternative's tags come before the result's own.
        {Result("musicX", R"("intent":"PLAY",)" + Slots(Slot("tags", "伤感")),
                R"(,"moreResults":[{"semantic":[{"slots":[{"name":"tags","value":"怀旧"}]}]}])"),
         play("怀旧")},
        {Result("musicX", R"("intent":"RANDOM_SEARCH")"), {Shell("http://www.kugou.com/")}},
        {ins("pause"), Tap(0xB3, 0x22)}, {ins("replay"), Tap(0xB3, 0x22)},
        {ins("next", "," + Slot("song", "稻香")), Tap(0xB0, 0x19)}, {ins("past"), Tap(0xB1, 0x10)},
        {ins("volume_plus"), volume(200, 60)}, {ins("volume_minus"), volume(-200, 40)},
        {ins("volume_max"), volume(100, 100)}, {ins("volume_min"), volume(0, 0)},
        {ins("volume_plus"), volume(200, -1), false}, {ins("shuffle"), {}}, {ins("volume_select"), {}},
        {sel(Slot("series", "30")), volume(30, 30)}, {sel(Slot("percent", "45")), volume(45, 45)},
        {sel(Slot("percent", "百")), volume(100, 100)}, {sel(Slot("percent", "零")), volume(0, 0)},
        {sel(Slot("series", "20") + "," + Slot("percent", "百")), volume(20, 20)},
        {sel(Slot("series", "+100")), volume(100, 100)},
        // Out of range or unreadable: refused, never clamped or wrapped.
        {sel(Slot("series", "99999999999999999999")), {}, true, 0}, {sel(Slot("series", "4294967306")), {}, true, 0},
        {sel(Slot("series", "101")), {}, true, 0}, {sel(Slot("series", "-200")), {}, true, 0},
        {sel(Slot("series", "三十") + "," + Slot("percent", "百")), {}, true, 0}, {sel(Slot("percent", "-")), {}, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        sim->State().volume = 50;
        sim->State().audioAvailable = c.audio;
        EXPECT_EQ(Executed<VeJsonMusic>("musicX", "", c.result, true, c.done), c.trace);
    }
}

// ---------------------------------------------------------------- video

TEST_F(MediaSceneTest, VideoKeywordJoinsNamesAndTitleOnThePlatformUnlessTheTextAsksForAWebSearch) {
    const std::string film = Slot("video", "流浪地球"), youku = film + "," + Slot("platform", "优酷");
    const struct {
        const char* text; const char* intent; std::string slots; Lines trace; std::map<std::string, std::string> sites = {};
    } cases[] = {
        {"", "film", Slot("filmVelmora", "流浪地球") + "," + Slot("actor", "吴京", "吴京"), Iqiyi("吴京 流浪地球")},
        {"", "tv_series", Slot("tvSeries", "人世间") + "," + Slot("director", "李路"), Iqiyi("李路 人世间")},
        {"", "tv_show", Slot("tvShow", "向往的生活") + "," + Slot("artist", "何炅", "何老师"), Iqiyi("何老师 向往的生活")},
        {"", "video", Slot("video", "霸王别姬") + "," + Slot("artist", "张国荣"), Iqiyi("张国荣 霸王别姬")},
        {"", "film", Slot("actor", "甲", "乙") + "," + Slot("director", nullptr, "丙"), Iqiyi("乙 丙")},
        {"", "film", Slot("film", "不读"), {Shell("http://www.iqiyi.com/")}},
        {"看电影", "video", "", {Shell("http://www.iqiyi.com/")}},
        // A web search only when the text asks for one and holds the title.
        {"百度搜索流浪地球", "video", film, {Search("流浪地球")}},
        {"帮我查一下电影", "video", film, {Search("流浪地球")}},  // the title is not in the text
        {"流浪地球搜索一下", "video", film, Iqiyi("流浪地球")},
        {"百度搜索流浪地球", "video", youku,
         {Site("优酷流浪地球"), Shell("http://www.soku.com/search_video/q_" + Enc("流浪地球"))}},
        {"在优酷看流浪地球", "video", youku, {Site("优酷流浪地球", true)}, {{"优酷流浪地球", "http://youku.example/"}}},
        {"在某站看流浪地球", "video", film + "," + Slot("platform", "某站"),
         {Site("某站流浪地球"), Shell("http://so.iqiyi.com/so/q_" + Enc("流浪地球"))}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " | " + c.slots);
        sim->State().websites = c.sites;
        const std::string result = Result("VELMORA.video", R"("intent":")" + std::string(c.intent) + "\"," + Slots(c.slots));
        EXPECT_EQ(Executed<VeJsonVideo>("VELMORA.video", c.text, result, true), c.trace);
    }
}

TEST_F(MediaSceneTest, EngineVideoFallsBackToTheQueryValueThenTheText) {
    Check<VeJsonEngineVideo>("video", "我想看电影", {
        {Result("video", R"("intent":"QUERY",)" + Slots(Slot("name", "流浪地球") + "," + Slot("artist", "吴京") + "," +
                                                       Slot("tag", "科幻"))),
         Iqiyi("流浪地球 吴京 科幻")},
        {Result("video", R"("intent":"QUERY",)" + Slots(Slot("videoCategory", "电影"))), Iqiyi("电影")},
        {Result("video", R"("intent":"PLAY",)" + Slots(Slot("videoCategory", "电影"))), Iqiyi("我想看电影")},
        {Result("video", R"("intent":"QUERY")"), Iqiyi("我想看电影")},
    });
}

// ---------------------------------------------------------------- drama, news, hot topics

TEST_F(MediaSceneTest, DramaNewsAndHotTopics) {
    const std::string slots = Slots(Slot("name", "琅琊榜"));
    const std::string search = Shell("https://so.iqiyi.com/so/q_琅琊榜");
    Check<VeJsonDrama>("drama", "", {
        {Result("drama", slots, R"(,"data":{"result":[{"url":"http://u/1","webUrl":"https://w/1?a=1&b=%E7"}]})"),
         {Shell("https://w/1?a=1&b=%E7")}},
        {Result("drama", slots, R"(,"data":{"result":[{"url":"http://u/1"}]})"), {Shell("http://u/1")}},
        // No web address, or one with characters a URL cannot hold.
        {Result("drama", slots, R"(,"data":{"result":[{"webUrl":"calc.exe"}]})"), {Refused("calc.exe"), search}},
        {Result("drama", slots, R"(,"data":{"result":[{"webUrl":"http://a.example/x\" & calc & \"\r\n"}]})"),
         {Shell("http://a.example/x%22%20&%20calc%20&%20%22%0D%0A")}},
        {Result("drama", Slots(Slot("name", "a b/#\"")), R"(,"data":{"result":[{"webUrl":"http:///x"}]})"),
         {Refused("http:///x"), Shell("https://so.iqiyi.com/so/q_a%20b%2F%23%22")}},
        {Result("drama", slots), {search}},
        {Result("drama", R"("intent":"QUERY")"), {Shell("https://www.iqiyi.com/")}},
    });
    const auto news = [](const char* media) { return Result("news", Slots(*media ? Slot("media", media) : "")); };
    Check<VeJsonNews>("news", "看新闻", {
        {news("网易"), {Shell("http://news.163.com/")}}, {news("腾讯"), {Shell("http://news.qq.com/")}},
        {news("新浪"), {Shell("http://news.sina.com.cn/")}}, {news("搜狐"), {Shell("http://news.sohu.com/")}},
        {news(""), {Shell("http://news.baidu.com/")}},
    });
    const auto unknown = [](const std::string& name) {
        return Lines{"CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> false",
                     "CDataFactory::OpenWebsite_Grm(" + Q(name) + ") -> false", "CEnvironmentMonitor::OsVersion() -> 10"};
    };
    Check<VeJsonCurrentHot>("VELMORA.currentHot", "今天的热点", {
        {Result("VELMORA.currentHot", Slots(Slot("currenthot", "热搜", "微博热搜"))),
         Seq(unknown("微博热搜"), unknown("热搜"), Lines{Search("微博热搜")})},
        {Result("VELMORA.currentHot", Slots("")), Concat(unknown("今天的热点"), {Search("今天的热点")})},
    });
}

// ---------------------------------------------------------------- jokes and poems

TEST_F(MediaSceneTest, JokesAndPoemsInTheAnswerWindow) {
    const auto joke = [](const std::string& rest) { return Result("joke", R"("intent":"QUERY")", rest); };
    const std::string asked = Question("讲个笑话");
    // Categories are shown only when every joke has one.
    Check<VeJsonJoke>("joke", "讲个笑话", {
        {joke(R"(,"data":{"result":[{"content":"笑话0","category":"类0"},{"content":"笑话1","category":"类1"}]})"),
         {asked, Answer("类0：  笑话0"), Answer("类1：  笑话1")}},
        {joke(R"(,"data":{"result":[{"content":"笑话0","category":"类0"},{"content":"笑话1"}]})"),
         {asked, Answer("笑话0"), Answer("笑话1")}},
        {joke(R"(,"answer":{"type":"T","text":"讲个笑话。"})"), {asked, Answer("讲个笑话。")}},
        {joke(""), {asked, Answer("没有找到笑话")}},
    });
    const auto poem = [](const std::string& rest) { return Result("poetry", R"("intent":"QUERY")", rest); };
    // A poem without its author is left out; without any, the answer stands alone.
    Check<VeJsonPoetry>("poetry", "来首诗", {
        {poem(R"(,"data":{"result":[{"title":"静夜思","dynasty":"唐","author":"李白","content":"床前明月光，"},)"
              R"({"title":"无名","dynasty":"宋","content":"x"}]})"),
         {Question("来首诗"), Answer("题目：静夜思\n作者：唐  李白\n内容：床前明月光，")}},
        {poem(R"(,"answer":{"type":"T","text":"来首李白的诗。"})"), {Answer("来首李白的诗。")}},
        {poem(""), {Answer("Sorry, 没有找到相关诗词！")}},
    });
}

}  // namespace
