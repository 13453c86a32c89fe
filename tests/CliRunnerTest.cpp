// The command-line host's runner: JSON Lines in, one record per line out, errors named by
// line number without stopping the run.
#include <rapidjson/document.h>

#include <sstream>
#include <ostream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "vescene/Runner.h"

using namespace vetest;

namespace {

struct Output {
    bool ok;
    std::string out;
    std::string err;
};

Output RunText(const std::string& lines, bool json = true) {
    std::ostringstream out, err;
    Runner runner(RunOptions{json}, out, err);
    std::istringstream in(lines);
    bool ok = runner.RunStream(in);
    return {ok, out.str(), err.str()};
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Every output line parsed as one JSON object.
std::vector<rapidjson::Document> Records(const std::string& out) {
    std::vector<rapidjson::Document> records;
    for (const auto& line : SplitLines(out)) {
        records.emplace_back();
        records.back().Parse(line.c_str(), line.size());
        EXPECT_FALSE(records.back().HasParseError()) << line;
        EXPECT_TRUE(records.back().IsObject()) << line;
    }
    return records;
}

const char* kGood = R"({"text":"日志","rc":4})";

// Failure messages name the case instead of dumping its bytes.
template <typename Case>
    requires requires(const Case& c) { c.name; } || requires(const Case& c) { c.text; } ||
             requires(const Case& c) { c.word; } || requires(const Case& c) { c.key; }
void PrintTo(const Case& c, std::ostream* os) {
    if constexpr (requires { c.name; })
        *os << c.name;
    else if constexpr (requires { c.text; })
        *os << c.text;
    else if constexpr (requires { c.word; })
        *os << c.word;
    else if constexpr (requires { c.key; })
        *os << c.key;
}


// ---------------------------------------------------------------- malformed lines

struct BadLineCase {
    const char* name;
    std::string line;
    const char* mentions;  // part of the error message
};

class CliBadLineTest : public SimTest, public ::testing::WithParamInterface<BadLineCase> {};

TEST_P(CliBadLineTest, ErrorNamesTheLineAndTheRunGoesOn) {
    const auto& c = GetParam();
    auto r = RunText(std::string(kGood) + "\n" + c.line + "\n" + kGood + "\n");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.err.find("line 2: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("line 1"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("line 3"), std::string::npos) << r.err;

    auto records = Records(r.out);
    ASSERT_EQ(records.size(), 3u) << r.out;
    EXPECT_EQ(records[0]["line"].GetInt(), 1);
    EXPECT_EQ(records[0]["result"].GetInt(), 1);
    EXPECT_EQ(records[1]["line"].GetInt(), 2);
    EXPECT_TRUE(records[1].HasMember("error"));
    EXPECT_FALSE(records[1].HasMember("result"));
    EXPECT_EQ(records[2]["line"].GetInt(), 3);
    EXPECT_EQ(records[2]["result"].GetInt(), 1);
    EXPECT_STREQ(records[2]["scene"].GetString(), "userself");
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliBadLineTest,
    ::testing::Values(BadLineCase{"NotJson", "this is not json", "JSON"},
                      BadLineCase{"TruncatedJson", R"({"input":{"text":"日志")", "JSON"},
                      BadLineCase{"Array", "[1,2]", "JSON"},
                      BadLineCase{"NumberInput", R"({"input":5})", "input"},
                      BadLineCase{"UnknownField", R"({"input":{"text":"日志"},"speed":2})", "speed"},
                      BadLineCase{"ApiAsText", R"({"input":{"text":"日志"},"api":"1"})", "api"},
                      BadLineCase{"UnknownEntry", R"({"entry":"ProcessX","input":{"text":"日志"}})", "ProcessX"},
                      BadLineCase{"UnknownSimKey", R"({"input":{"text":"日志"},"sim":{"weather":"rain"}})",
                                  "weather"},
                      BadLineCase{"SimWrongType", R"({"input":{"text":"日志"},"sim":{"network":"no"}})", "network"}),
    [](const auto& info) { return std::string(info.param.name); });

class CliRunnerTest : public SimTest {};

TEST_F(CliRunnerTest, PlainOutputReportsErrorsOnErrOnly) {
    auto r = RunText(std::string("oops\n") + kGood + "\n", false);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.err.find("line 1: "), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("line 1"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.rfind("line 2: ProcessM -> 1", 0), 0u) << r.out;
}

TEST_F(CliRunnerTest, GoodLinesSucceedAndBlankOrCommentLinesCount) {
    auto r = RunText(std::string("# a comment\n\n   \n") + kGood + "\r\n");
    EXPECT_TRUE(r.ok) << r.err;
    EXPECT_EQ(r.err, "");
    auto records = Records(r.out);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["line"].GetInt(), 4);
}

TEST_F(CliRunnerTest, JsonRecordHasEveryField) {
    auto r = RunText(R"({"entry":"ProcessM","api":0,"fallback":false,"input":{"text":"个人热词","rc":4}})"
                     "\n");
    ASSERT_TRUE(r.ok) << r.err;
    auto records = Records(r.out);
    ASSERT_EQ(records.size(), 1u);
    const auto& rec = records[0];
    EXPECT_EQ(rec["line"].GetInt(), 1);
    EXPECT_STREQ(rec["entry"].GetString(), "ProcessM");
    EXPECT_EQ(rec["result"].GetInt(), 1);
    EXPECT_STREQ(rec["scene"].GetString(), "userself");
    EXPECT_STREQ(rec["text"].GetString(), "个人热词");
    ASSERT_TRUE(rec["trace"].IsArray());
    std::vector<std::string> calls;
    for (const auto& e : rec["trace"].GetArray()) {
        ASSERT_TRUE(e["args"].IsArray());
        calls.push_back(e["call"].GetString());
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"CDataFactory::SetNormal", "VeUI::InteractiveSet", "VeUI::Tray",
                                               "CAccountData::OpenUserSelf", "VeUI::MainMenu", "VeUI::Log_2"}));
    const auto& menu = rec["trace"][4]["args"];
    ASSERT_EQ(menu.Size(), 1u);
    EXPECT_EQ(menu[0].GetInt(), 21);
}

TEST_F(CliRunnerTest, StringInputIsPassedAsItStands) {
    struct {
        const char* line;
        int result;
        const char* scene;
        std::vector<std::string> calls;
    } cases[] = {
        {R"({"input":"{\"text\":\"日志\",\"rc\":0,\"service\":\"weather\"}"})", 1, "userself",
         {"VeUI::InteractiveSet", "VeUI::Tray", "CAccountData::OpenUserSelf", "VeUI::MainMenu", "VeUI::Log_2"}},
        {R"({"input":"{\"text\":\"日志\""})", 0, "", {"VeUI::Tray", "VeUI::Log"}},
        {R"({"input":""})", 0, "", {"VeUI::Tray", "VeUI::Log"}},
        {R"({"input":"{\"text\":\"\\u0000\"}"})", 2, "rc=4", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        auto r = RunText(std::string(c.line) + "\n");
        EXPECT_TRUE(r.ok) << r.err;
        EXPECT_EQ(r.err, "");
        auto records = Records(r.out);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0]["result"].GetInt(), c.result);
        EXPECT_STREQ(records[0]["scene"].GetString(), c.scene);
        if (c.calls.empty()) continue;
        std::vector<std::string> calls;
        for (const auto& e : records[0]["trace"].GetArray()) calls.push_back(e["call"].GetString());
        EXPECT_EQ(calls, c.calls);
        if (c.result == 0) {
            EXPECT_STREQ(records[0]["trace"][0]["args"][0].GetString(), "__识别出错__");
        }
    }
}

TEST_F(CliRunnerTest, ApiFieldChoosesTheDispatcher) {
    const std::string input = R"("input":{"text":"随便","rc":0,"service":"sem","fromType":"x","actionType":"tpp"})";
    auto r = RunText("{\"api\":0," + input + "}\n{\"api\":1," + input + "}\n{" + input + "}\n");
    ASSERT_TRUE(r.ok) << r.err;
    auto records = Records(r.out);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_STREQ(records[0]["scene"].GetString(), "tpp");
    EXPECT_STREQ(records[1]["scene"].GetString(), "sem");
    EXPECT_STREQ(records[2]["scene"].GetString(), "tpp");
}

TEST_F(CliRunnerTest, SimSettingsApplyToTheirLineOnly) {
    auto r = RunText(
        R"({"input":{"text":"打开我的文档","rc":4},"sim":{"userCommands":["打开我的文档"]}})"
        "\n"
        R"({"input":{"text":"打开我的文档","rc":4}})"
        "\n"
        R"({"input":{"text":"","sc":"0","ws":[{"cw":[{"w":"关机"}]}]},"sim":{"network":false}})"
        "\n"
        R"({"input":{"text":"","sc":"0","ws":[{"cw":[{"w":"关机"}]}]}})"
        "\n");
    ASSERT_TRUE(r.ok) << r.err;
    auto records = Records(r.out);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_STREQ(records[0]["scene"].GetString(), "userself");
    EXPECT_EQ(records[0]["result"].GetInt(), 1);
    EXPECT_STREQ(records[1]["scene"].GetString(), "rc=4");
    EXPECT_EQ(records[1]["result"].GetInt(), 2);
    EXPECT_STREQ(records[2]["scene"].GetString(), "offasr");
    EXPECT_EQ(records[2]["result"].GetInt(), 2);
    EXPECT_EQ(records[3]["result"].GetInt(), 0);
    EXPECT_STREQ(records[3]["trace"][1]["args"][0].GetString(), "__语音识别失败__");
}

TEST_F(CliRunnerTest, SayWrapsTheText) {
    std::ostringstream out, err;
    Runner runner(RunOptions{true}, out, err);
    EXPECT_TRUE(runner.Say("ProcessM", "百度一下 \"引号\"", ""));
    auto records = Records(out.str());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["result"].GetInt(), 1);
    EXPECT_STREQ(records[0]["scene"].GetString(), "baidusearch");
    EXPECT_STREQ(records[0]["text"].GetString(), "百度一下 \"引号\"");
    EXPECT_FALSE(runner.Say("ProcessX", "日志", ""));
    EXPECT_NE(err.str().find("ProcessX"), std::string::npos);
}

TEST_F(CliRunnerTest, CallersBackendIsBackAfterARun) {
    std::ostringstream out, err;
    Runner runner(RunOptions{false}, out, err);
    ASSERT_TRUE(runner.RunLine(kGood, 1));
    sim->ClearTrace();
    CVeSceneFactory factory;
    factory.ProcessM(R"({"text":"个人命令","rc":0,"service":"x"})", IatAPI_Default, true);
    EXPECT_EQ(Readable(EventsOf("VeUI::MainMenu")), std::vector<std::string>{"VeUI::MainMenu(20)"});
}

}  // namespace
