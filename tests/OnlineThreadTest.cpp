// The online request over real HTTP on loopback: what the worker thread sends, which reply
// scene runs, what it logs, when it searches instead, and how Release stops it.
#include <chrono>
#include <future>

#include "LoopbackServer.h"
#include "TestSupport.h"
#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"
#include "scenes/shared/DataTables.h"
#include "vescene/CVeSceneFactory.h"

using namespace vetest;

namespace {

using Clock = std::chrono::steady_clock;

// An utterance no local scene carries out.
std::string Unhandled(const std::string& utf8Text) { return R"({"text":)" + Q(utf8Text) + R"(,"rc":4})"; }

std::string NoltReply(const std::string& scene, const std::string& message = "") {
    return R"({"scene":)" + Q(scene) + R"(,"message":)" + Q(message) + "}";
}

class OnlineThreadTest : public SimTest {
protected:
    void TearDown() override {
        sim->WaitForThreads();
        vehttp::SetEndpoint("online", "");
        vehttp::SetTimeouts(0, 0);
    }
    void PointAt(const LoopbackServer& server) { ASSERT_TRUE(vehttp::SetEndpoint("online", server.Url(""))); }

    // Runs the utterance, waits for the thread and returns the calls made on it.
    Lines Online(const std::string& utf8Text, bool fallback = true) {
        sim->ClearTrace();
        CVeSceneFactory factory;
        EXPECT_EQ(factory.ProcessM(Unhandled(utf8Text).c_str(), IatAPI_Default, fallback), ProcessUnhandled);
        sim->WaitForThreads();
        return OnThread();
    }
    // The calls the worker thread made, of those whose name passes `keep`, without the tag.
    // Its handle is left out: ExpectClosedOnce looks at it.
    Lines OnThread(bool (*keep)(const std::string&) = [](const std::string&) { return true; }) {
        Lines out;
        for (auto e : Trace())
            if (e.thread != 0 && e.call != "CloseHandle" && keep(e.call)) {
                e.thread = 0;
                out.push_back(e.ToReadable());
            }
        return out;
    }
    // Each thread's handle was closed exactly once: by the thread itself, or by the host's
    // thread for the first `byHost` threads (an entry or a Release that waited for them).
    void ExpectClosedOnce(size_t byHost = 0) {
        const auto created = EventsOf("CreateThread");
        for (size_t i = 0; i < created.size(); ++i) {
            const long long handle = created[i].args.at(0).number;
            size_t closes = 0;
            for (const auto& e : EventsOf("CloseHandle")) closes += e.args.at(0).number == handle && (e.thread == 0) == (i < byHost);
            EXPECT_EQ(closes, 1u) << i;
        }
    }
};

std::string Request(const LoopbackServer& server, const std::string& encodedText, int result) {
    return "CVeCurl::OpenUrl_get(" +
           Q(server.Url("/semantic/comprehend?text=" + encodedText + "&deviceno=00-1A-2B-3C-4D-5E")) + ") -> " +
           std::to_string(result);
}

const std::string kStory = "讲个故事";
const std::string kStoryUrl = "%E8%AE%B2%E4%B8%AA%E6%95%85%E4%BA%8B";

std::string Logged(int logType) { return "VeUI::Log_nolt(" + Q(kStory) + ", " + std::to_string(logType) + ")"; }
std::string Outcome(const std::string& scene, int status, const std::string& text = kStory) {
    return "VeUI::OnlineResult(" + Q(text) + ", " + Q(scene) + ", " + std::to_string(status) + ")";
}
const std::string kTold = R"(VeUI::Tray("在线服务暂时不可用", 1))";
std::string InFront(const char* title) { return "CurrentWnd::GetCurrentWndText() -> " + Q(title); }
const std::string kSearched = "CUtil::SearchInBaidu_utf8(" + Q(kStory) + ")";

TEST_F(OnlineThreadTest, TheReplySceneRunsTheOutcomeIsLoggedAndTheSearchMayFollow) {
    // What the scene does on the thread, the log, and the web search when the scene declines, which
    // needs the flag and no program but the desktop in front.
    const struct { Reply reply; int http; Lines tail; bool flag = true; const char* title = "Program Manager"; } cases[] = {
        {Http(200, NoltReply("music", "http://www.kugou.com/song/#hash=AB12")), vehttp::kHttpOk,
         {R"(VeUI::VeShellExecuteA("http://www.kugou.com/song/#hash=AB12"))", Logged(15), Outcome("music", 1)}},
        {Http(200, NoltReply("chat", "从前有座山")), vehttp::kHttpOk,
         {"VeUI::Tray_2(" + Q(kStory) + ")", R"(VeUI::InteractiveSet("从前有座山", 2))", Logged(17), Outcome("chat", 1)}},
        {Http(200, NoltReply("weather")), vehttp::kHttpOk,
         {R"(CUtil::SearchInBaidu_unicode("天气"))", Logged(10), Outcome("weather", 1)}},
        // A program the user did not name is not started: the reply is declined.
        {Http(200, NoltReply("application", "QQ")), vehttp::kHttpOk,
         {Logged(28), InFront("Program Manager"), kSearched, Outcome("", 2)}},
        {Http(200, NoltReply("websearch")), vehttp::kHttpOk,
         {Logged(28), InFront("Program Manager"), kSearched, Outcome("", 2)}},
        {Http(200, NoltReply("websearch")), vehttp::kHttpOk, {Logged(28), InFront("no"), kSearched, Outcome("", 2)}, true, "no"},
        {Http(200, NoltReply("websearch")), vehttp::kHttpOk, {Logged(28), InFront("记事本"), Outcome("", 2)}, true, "记事本"},
        {Http(200, NoltReply("websearch")), vehttp::kHttpOk, {Logged(28), Outcome("", 2)}, false},
        // The semantic registry's key, not the online one's.
        {Http(200, NoltReply("rc=4")), vehttp::kHttpOk, {Logged(28), InFront("Program Manager"), kSearched, Outcome("", 2)}},
        // A service that fails is told to the user, and the search follows as for no scene.
        {Http(200, "not json at all"), vehttp::kHttpOk, {kTold, InFront("Program Manager"), kSearched, Outcome("", -7)}},
        {Http(500, NoltReply("music")), vehttp::kHttpStatus, {kTold, InFront("Program Manager"), kSearched, Outcome("", -4)}},
        {Http(200, ""), vehttp::kHttpOk, {kTold, Outcome("", -7)}, false},
    };
    sim->State().programs = {"QQ"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.bytes + " " + c.title);
        LoopbackServer server([&](const std::string&) { return c.reply; });
        PointAt(server);
        sim->State().foregroundTitle = c.title;
        const Lines thread = Online(kStory, c.flag);
        ASSERT_GE(thread.size(), 2u);
        EXPECT_EQ(Lines(thread.begin(), thread.begin() + 2),
                  (Lines{R"(MacAddress::GetMac(0) -> "00-1A-2B-3C-4D-5E")", Request(server, kStoryUrl, c.http)}));
        // Scenes may look things up first (the system command table); the order of the rest is fixed.
        EXPECT_EQ(OnThread([](const std::string& call) {
                      return call.starts_with("VeUI::") || call.starts_with("CUtil::") || call.starts_with("CurrentWnd::");
                  }),
                  c.tail);
        ExpectClosedOnce();
    }
}

TEST_F(OnlineThreadTest, ModalParticlesStayLocal) {
    LoopbackServer server([](const std::string&) { return Http(200, NoltReply("nothing")); });
    PointAt(server);
    // The words file has a blank line and no line end after its last word.
    for (const std::string particle : {"嗯", "啊", "哦"}) {
        SCOPED_TRACE(particle);
        const Lines thread = Online(particle);
        EXPECT_EQ(thread, (Lines{R"(VeUI::DebugLog("语气词，不调用Nolt语义理解接口", 6))",
                                 R"(CurrentWnd::GetCurrentWndText() -> "Program Manager")",
                                 "CUtil::SearchInBaidu_utf8(" + Q(particle) + ")"}));
        ExpectClosedOnce();
    }
    EXPECT_TRUE(server.Requests().empty());
    // Only the whole text counts.
    Online("嗯嗯好的");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(OnlineThreadTest, ANewerUtteranceAbandonsTheOlderAndASilentServiceIsTold) {
    vehttp::SetTimeouts(200, 400);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    LoopbackServer server([&](const std::string&) {
        released.wait_for(std::chrono::seconds(10));
        return Http(200, NoltReply("music", "http://www.kugou.com/"));
    });
    PointAt(server);
    CVeSceneFactory factory;
    sim->ClearTrace();
    const auto started = Clock::now();
    const std::string again = "再讲一个";
    EXPECT_EQ(factory.ProcessM(Unhandled(kStory).c_str(), IatAPI_Default, true), ProcessUnhandled);
    EXPECT_EQ(factory.ProcessM(Unhandled(again).c_str(), IatAPI_Default, true), ProcessUnhandled);
    sim->WaitForThreads();
    release.set_value();
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));
    // The older request is aborted and not acted on; the newer one is sent, and its silence told.
    EXPECT_EQ(OnThread([](const std::string& c) { return c == "CVeCurl::OpenUrl_get" || c == "VeUI::OnlineResult" || c == "VeUI::Tray"; }),
              (Lines{Request(server, kStoryUrl, vehttp::kHttpAborted), Outcome("", 3),
                     Request(server, textcodec::PercentEncode(again), vehttp::kHttpTimeout), kTold, Outcome("", -3, again)}));
    EXPECT_TRUE(EventsOf("VeUI::Log_nolt").empty());
    EXPECT_EQ(EventsOf("MsgWaitForSingleObject").at(0).args.at(1).number, 3000);  // the newer entry waited
    ExpectClosedOnce(1);

    // The thread gave its handle back: the next utterance goes online again.
    vehttp::SetTimeouts(0, 0);
    Online(kStory);
    EXPECT_EQ(EventsOf("CreateThread").size(), 1u);
    EXPECT_EQ(EventsOf("VeUI::VeShellExecuteA").size(), 1u);
}

TEST_F(OnlineThreadTest, ReleaseStopsARequestInFlightAndClosesTheHandleOnce) {
    std::promise<void> arrived, release;
    std::shared_future<void> released = release.get_future().share();
    LoopbackServer server([&](const std::string&) {
        arrived.set_value();
        released.wait_for(std::chrono::seconds(10));
        return Http(200, NoltReply("music", "http://www.kugou.com/"));
    });
    PointAt(server);
    CVeSceneFactory factory;
    sim->ClearTrace();
    factory.ProcessM(Unhandled(kStory).c_str(), IatAPI_Default, true);
    ASSERT_EQ(arrived.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);

    const auto started = Clock::now();
    CVeSceneFactory::Release();
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(3));
    release.set_value();
    sim->WaitForThreads();

    // Stopped, not killed: Release waited (dispatching what the host sent meanwhile) until the
    // request ended by itself, and closed its handle.
    EXPECT_EQ(EventsOf("MsgWaitForSingleObject").at(0).args.at(1).number, 1000);
    ExpectClosedOnce(1);
    // A stopped request carries nothing out.
    EXPECT_TRUE(EventsOf("VeUI::VeShellExecuteA").empty());
    EXPECT_TRUE(EventsOf("VeUI::Log_nolt").empty());
    CVeSceneFactory::Release();  // nothing runs: nothing to do
    EXPECT_EQ(EventsOf("MsgWaitForSingleObject").size(), 1u);
}

// The user moves on (a newer utterance) or the host releases the library while the reply is
// on its way or its scene waits in the question: once that returns nothing acts, whatever the
// answer. The sim stops the worker right after the call named until the host's thread waits.
TEST_F(OnlineThreadTest, AnAbandonedRequestNeverActsAfterItsReplyOrItsQuestion) {
    LoopbackServer server([](const std::string&) { return Http(200, NoltReply("application", "关机")); });
    PointAt(server);
    sim->State().yesNoAnswer = true;
    const struct { const char* pauseAfter; bool release; size_t questions; } cases[] = {
        {"CVeCurl::OpenUrl_get", false, 0}, {"VeUI::YesOrNot", false, 1}, {"VeUI::YesOrNot", true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pauseAfter) + (c.release ? " then Release" : " then a newer utterance"));
        sim->ClearTrace();
        sim->PauseAfter(c.pauseAfter);
        CVeSceneFactory factory;
        factory.ProcessM(Unhandled("帮我关机吧").c_str(), IatAPI_Default, true);
        sim->WaitUntilPaused();
        if (c.release)
            CVeSceneFactory::Release();
        else
            factory.ProcessM(Unhandled("百度一下天气").c_str(), IatAPI_Default, true);
        sim->WaitForThreads();
        EXPECT_EQ(EventsOf("VeUI::YesOrNot").size(), c.questions);
        EXPECT_TRUE(EventsOf("CEnvironmentMonitor::ElevatePermission").empty());
        EXPECT_TRUE(EventsOf("ExitWindowsEx").empty());
        EXPECT_TRUE(OnThread([](const std::string& call) { return call == "VeUI::VeShellExecuteA"; }).empty());
    }
}

// The online thread reaches the same process-wide tables as the host's thread; the first use
// may come from both at once (this test means most under ThreadSanitizer).
TEST(SharedTablesTest, FillingRacesAreSafe) {
    std::vector<std::future<size_t>> users;
    for (int i = 0; i < 4; ++i)
        users.push_back(std::async(std::launch::async, [] {
            return GetSoftDownloadTable().size() + GetStationTable().size() + GetRegionAbbreviationTable().size();
        }));
    const size_t expected = kSoftware.size() + Stations().size() + kAbbreviations.size();
    for (auto& user : users) EXPECT_EQ(user.get(), expected);
}

}  // namespace

#if defined(VESCENE_NOLT_SERVER) && !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

extern char** environ;

namespace {

// The reference online service as its own process on an ephemeral port.
struct NoltServer {
    pid_t pid = -1;
    std::string url;

    NoltServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);  // its request log
        std::string program = VESCENE_NOLT_SERVER, port = "--port", zero = "0";
        char* argv[] = {program.data(), port.data(), zero.data(), nullptr};
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The first line names the port: "listening on 127.0.0.1:PORT".
        std::string line;
        for (char c; read(fds[0], &c, 1) == 1 && c != '\n';) line += c;
        close(fds[0]);
        if (const size_t colon = line.rfind(':'); colon != std::string::npos) url = "http://127.0.0.1:" + line.substr(colon + 1);
    }
    ~NoltServer() {
        if (pid > 0 && kill(pid, SIGTERM) == 0) waitpid(pid, nullptr, 0);
    }
};

TEST_F(OnlineThreadTest, TheShippedRulesAnswerThroughTheReferenceService) {
    NoltServer server;
    ASSERT_FALSE(server.url.empty());
    ASSERT_TRUE(vehttp::SetEndpoint("online", server.url));
    const struct { const char* text; const char* call; int logType; } cases[] = {
        {"讲个笑话", "VeUI::InteractiveSet", 17},
        {"播放稻香", "VeUI::VeShellExecuteA", 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sim->ClearTrace();
        CVeSceneFactory factory;
        // As the TPP engine sends what it could not place, so no local scene takes it first.
        const std::string input = R"({"text":)" + Q(c.text) + R"(,"fromType":"tpp","actionType":"OTHER"})";
        EXPECT_EQ(factory.ProcessM(input.c_str(), IatAPI_Default, true), ProcessUnhandled);
        sim->WaitForThreads();
        size_t onThread = 0;
        for (const auto& e : EventsOf(c.call)) onThread += e.thread != 0;
        EXPECT_EQ(onThread, 1u);
        ASSERT_EQ(EventsOf("VeUI::Log_nolt").size(), 1u);
        EXPECT_EQ(EventsOf("VeUI::Log_nolt")[0].args.at(1).number, c.logType);
    }
}

}  // namespace
#endif
