// The command-line host's runner: JSON Lines in, one record per line out, errors named by
// line number without stopping the run.
#include <rapidjson/document.h>

#include <algorithm>
#include <sstream>

#include "LoopbackServer.h"
#include "TestSupport.h"
#include "platform/HttpConfig.h"
#include "vescene/Runner.h"
#include "vescene/version.h"

using namespace vetest;

namespace {

struct Output { bool ok; std::string out, err; };

Output RunText(const std::string& lines, bool json = true) {
    std::ostringstream out, err;
    Runner runner(RunOptions{json}, out, err);
    std::istringstream in(lines);
    const bool ok = runner.RunStream(in);
    return {ok, out.str(), err.str()};
}

// Every output line parsed as one JSON object.
std::vector<rapidjson::Document> Records(const std::string& out) {
    std::vector<rapidjson::Document> records;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        records.emplace_back().Parse(line.c_str(), line.size());
        EXPECT_TRUE(!records.back().HasParseError() && records.back().IsObject()) << line;
    }
    return records;
}

Lines CallsOf(const rapidjson::Value& record) {
    Lines calls;
    for (const auto& e : record["trace"].GetArray()) calls.push_back(e["call"].GetString());
    return calls;
}

const char* const kGood = R"({"text":"日志","rc":4})";

class CliRunnerTest : public SimTest {};

TEST_F(CliRunnerTest, AMalformedLineIsNamedAndTheNextLineRuns) {
    // mentions: a text the error message must contain.
    const struct { const char* line; const char* mentions; } cases[] = {
        {"this is not json", "JSON"}, {"[1,2]", "JSON"}, {R"({"input":5})", "input"},
        {R"({"input":{"text":"日志"},"speed":2})", "speed"},
        {R"({"entry":"ProcessX","input":{"text":"日志"}})", "ProcessX"},
        {R"({"input":{"text":"日志"},"sim":{"weather":"rain"}})", "weather"},
        {R"({"input":{"text":"日志"},"sim":{"network":"no"}})", "network"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        auto r = RunText(std::string(kGood) + "\n" + c.line + "\n" + kGood + "\n");
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.err.rfind("vescene: line 2: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;

        auto records = Records(r.out);
        ASSERT_EQ(records.size(), 3u) << r.out;
        EXPECT_TRUE(records[1].HasMember("error"));
        EXPECT_FALSE(records[1].HasMember("result"));
        EXPECT_EQ(records[2]["line"].GetInt(), 3);
        EXPECT_EQ(records[2]["result"].GetInt(), 1);
    }
}

TEST_F(CliRunnerTest, PlainOutputReportsErrorsOnErrOnly) {
    auto r = RunText(std::string("oops\n") + kGood + "\n", false);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.err.find("line 1: "), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("line 1"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.rfind("line 2: ProcessM -> 1", 0), 0u) << r.out;
}

TEST_F(CliRunnerTest, JsonRecordHasEveryFieldAndBlankOrCommentLinesCount) {
    auto r = RunText("# a comment\n\n   \n"
                     R"({"entry":"ProcessM","api":0,"fallback":false,"input":{"text":"个人热词","rc":4}})" "\r\n");
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_EQ(r.err, "");
    auto records = Records(r.out);
    ASSERT_EQ(records.size(), 1u);
    const auto& rec = records[0];
    EXPECT_EQ(rec["line"].GetInt(), 4);
    EXPECT_STREQ(rec["entry"].GetString(), "ProcessM");
    EXPECT_EQ(rec["result"].GetInt(), 1);
    EXPECT_STREQ(rec["scene"].GetString(), "userself");
    EXPECT_STREQ(rec["text"].GetString(), "个人热词");
    EXPECT_EQ(CallsOf(rec), (Lines{"CDataFactory::SetNormal", "VeUI::InteractiveSet", "VeUI::Tray",
                                   "CAccountData::OpenUserSelf", "VeUI::MainMenu", "VeUI::Log_2"}));
    EXPECT_EQ(rec["trace"][4]["args"][0].GetInt(), 21);
}

TEST_F(CliRunnerTest, StringInputIsPassedAsItStands) {
    const struct { const char* line; int result; const char* scene; } cases[] = {
        {R"({"input":"{\"text\":\"日志\",\"rc\":0,\"service\":\"weather\"}"})", 1, "userself"},
        {R"({"input":""})", 0, ""},
        {R"({"input":"{\"text\":\"\\u0000\"}"})", 2, "rc=4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        auto r = RunText(std::string(c.line) + "\n");
        EXPECT_TRUE(r.ok) << r.err;
        auto records = Records(r.out);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0]["result"].GetInt(), c.result);
        EXPECT_STREQ(records[0]["scene"].GetString(), c.scene);
    }
}

TEST_F(CliRunnerTest, ApiAndSimSettingsApplyToTheirLineOnly) {
    const std::string input = R"("input":{"text":"随便","rc":0,"service":"sem","fromType":"x","actionType":"tpp"})";
    const std::string offline = R"("input":{"text":"","sc":"0","ws":[{"cw":[{"w":"关机"}]}]})";
    auto r = RunText("{\"api\":0," + input + "}\n{\"api\":1," + input + "}\n{" + input + "}\n" +
                     R"({"input":{"text":"打开我的文档","rc":4},"sim":{"userCommands":["打开我的文档"]}})" "\n"
                     R"({"input":{"text":"打开我的文档","rc":4}})" "\n" +
                     "{" + offline + R"(,"sim":{"network":false}})" + "\n{" + offline + "}\n" +
                     R"({"input":{"text":"明天天气","rc":0,"service":"天气"}})" "\n");
    ASSERT_TRUE(r.ok) << r.err;
    auto records = Records(r.out);
    ASSERT_EQ(records.size(), 8u);
    // The scene is written as UTF-8 even though the library holds it as GBK.
    const std::pair<const char*, int> expected[] = {
        {"tpp", 2}, {"sem", 2}, {"tpp", 2}, {"userself", 1}, {"rc=4", 2}, {"offasr", 1}, {"", 0}, {"天气", 2}};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_STREQ(records[i]["scene"].GetString(), expected[i].first) << i + 1;
        EXPECT_EQ(records[i]["result"].GetInt(), expected[i].second) << i + 1;
    }
    EXPECT_STREQ(records[6]["trace"][1]["args"][0].GetString(), "__语音识别失败__");
    const Lines shutdown = CallsOf(records[5]);  // asked before it shut down
    EXPECT_NE(std::find(shutdown.begin(), shutdown.end(), "VeUI::YesOrNot"), shutdown.end());
}

TEST_F(CliRunnerTest, SayWrapsTheTextAndTheCallersBackendIsBackAfterARun) {
    std::ostringstream out, err;
    Runner runner(RunOptions{true}, out, err);
    EXPECT_TRUE(runner.Say("ProcessM", "百度一下 \"引号\"", "", true));
    EXPECT_TRUE(runner.RunLine(kGood, 2));
    // Without --literal the text is understood first, as the engine would have.
    EXPECT_TRUE(runner.Say("ProcessM", "百度一下 \"引号\"", ""));
    auto records = Records(out.str());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_STREQ(records[0]["scene"].GetString(), "baidusearch");
    EXPECT_STREQ(records[0]["text"].GetString(), "百度一下 \"引号\"");
    EXPECT_STREQ(records[2]["scene"].GetString(), "websearch");
    // Nothing the runs did reached this test's desktop, which is the backend again now.
    EXPECT_TRUE(Trace().empty());
    CVeSceneFactory factory;
    factory.ProcessM(R"({"text":"个人命令","rc":0,"service":"x"})", IatAPI_Default, true);
    EXPECT_EQ(Readable(EventsOf("VeUI::MainMenu")), Lines{"VeUI::MainMenu(20)"});
}

// A line that does not wait leaves its request in flight while the next line runs: the next
// line abandons it (its calls show there, on its thread) and sends its own; a request still in
// flight when the file ends has a record of its own. Every run prints the same.
TEST_F(CliRunnerTest, ALineThatDoesNotWaitLeavesItsRequestToTheNextLineAndRunsAlwaysPrintTheSame) {
    LoopbackServer server([](const std::string&) { return Http(200, R"({"scene":"music","message":"http://www.kugou.com/"})"); });
    ASSERT_TRUE(vehttp::SetEndpoint("online", server.Url("")));
    const std::string file = R"({"input":{"text":"讲个故事","rc":4},"wait":false})" "\n"
                             R"({"input":{"text":"播放稻香","rc":4}})" "\n"
                             R"({"input":{"text":"讲个笑话","rc":4},"wait":false})" "\n";
    const Output first = RunText(file);
    for (int run = 0; run < 20; ++run) EXPECT_EQ(RunText(file).out, first.out) << run;
    // Lines that do not wait one after another, with every core busy: waiting for the older
    // worker lets that one go, never the newer line's, whose calls stay all before its thread's.
    const std::string chained = R"({"input":{"text":"讲个故事","rc":4},"wait":false})" "\n"
                                R"({"input":{"text":"讲个笑话","rc":4},"wait":false})" "\n"
                                R"({"input":{"text":"讲个故事","rc":4},"wait":false})" "\n";
    std::atomic<bool> loaded{true};
    std::vector<std::thread> load;
    for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i)
        load.emplace_back([&] { while (loaded) std::this_thread::yield(); });
    const Output chainedFirst = RunText(chained);
    for (int run = 0; run < 30; ++run) EXPECT_EQ(RunText(chained).out, chainedFirst.out) << run;
    loaded = false;
    for (auto& t : load) t.join();
    vehttp::SetEndpoint("online", "");
    ASSERT_TRUE(first.ok) << first.err;
    const auto records = Records(first.out);
    ASSERT_EQ(records.size(), 4u);
    auto onThread = [](const rapidjson::Value& record) {
        Lines calls;
        for (const auto& e : record["trace"].GetArray())
            if (e.HasMember("thread")) calls.push_back(std::to_string(e["thread"].GetInt()) + " " + e["call"].GetString());
        return calls;
    };
    EXPECT_TRUE(onThread(records[0]).empty());
    EXPECT_EQ(CallsOf(records[1]).at(0), "MsgWaitForSingleObject");
    EXPECT_EQ(onThread(records[1]), (Lines{"1 MacAddress::GetMac", "1 CVeCurl::OpenUrl_get", "1 VeUI::OnlineResult",
                                           "2 MacAddress::GetMac", "2 CVeCurl::OpenUrl_get", "2 VeUI::VeShellExecuteA",
                                           "2 VeUI::Log_nolt", "2 VeUI::OnlineResult", "2 CloseHandle"}));
    for (const auto& e : records[1]["trace"].GetArray())
        if (e.HasMember("thread") && e["thread"].GetInt() == 1 && e["call"] == "CVeCurl::OpenUrl_get")
            EXPECT_EQ(e["result"].GetInt(), vehttp::kHttpAborted);
    EXPECT_TRUE(onThread(records[2]).empty());
    EXPECT_TRUE(records[3]["end"].GetBool());
    EXPECT_EQ(onThread(records[3]).size(), 6u);
    // The abandoned request may have reached the service before its abort or not; the two
    // that were carried on always did.
    EXPECT_GE(server.Requests().size(), 2u * 21 + 31);
    EXPECT_LE(server.Requests().size(), 3u * 21 + 3u * 31);
}

}  // namespace

#if defined(VESCENE_CLI) && !defined(_WIN32)
#include <cstdio>
#include <sys/wait.h>

namespace {

struct Exit { int status; std::string out; };

// Runs the command line with its stderr folded into the output.
Exit Cli(const std::string& args) {
    Exit result{-1, {}};
    FILE* pipe = popen((std::string(VESCENE_CLI) + " " + args + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[256];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(CliTest, OptionsAndCommandsAreNamedAndAnIncompleteDataDirectoryStopsTheRun) {
    std::filesystem::create_directories(DataDir() + "/partial");
    std::ofstream(DataDir() + "/partial/softdownload.grm");
    const struct { std::string args; int status; const char* says; } cases[] = {
        {"--help", 0, "usage: vescene"},
        {"--version", 0, VESCENE_VERSION_STRING},
        {"sing 嗯", 2, "unknown command sing"},
        {"--loud say 嗯", 2, "unknown option --loud"},
        {"say", 2, "say needs a text"},
        {"--data /nonexistent say 嗯", 2, "/nonexistent does not exist"},
        {"--data " + DataDir() + "/partial say 嗯", 2, "lacks chinareabbreviation.clx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const Exit e = Cli(c.args);
        EXPECT_EQ(e.status, c.status);
        EXPECT_NE(e.out.find(c.says), std::string::npos) << e.out;
        if (c.status == 2) EXPECT_EQ(e.out.find("line 1"), std::string::npos);
    }
}

}  // namespace
#endif
