// The two local command dispatchers, slide-show mode (GBK text) and normal pen mode, observed
// as keys, pauses and host calls on the simulated desktop.
#include <optional>

#include "TestSupport.h"
#include "keyboard/OfficeGrammar.h"
#include "local/LocalCommandEngine.h"

using namespace vetest;

namespace {

// Scan codes are the sim's.
enum : int { Tab = 9, Enter = 13, Alt = 18, Win = 91, KeyD = 68, F4 = 115, PlayPause = 179, PageUp = 33, PageDown = 34, Home = 36 };

// The keys of the extended set carry KEYEVENTF_EXTENDEDKEY (1) both ways.
std::string Key(int vk, int scan, bool up) {
    const int flags = (up ? 2 : 0) | (vk == Win || vk == PlayPause || (vk >= PageUp && vk <= Home) ? 1 : 0);
    return "keybd_event(" + std::to_string(vk) + ", " + std::to_string(scan) + ", " + std::to_string(flags) + ", 0)";
}
const std::string P30 = Wait(30)[0];

Lines SwitchWindows(int tabs) {
    Lines out = {Key(Alt, 56, false), P30};
    for (int i = 0; i < tabs; ++i) out = Concat(out, {Key(Tab, 15, false), P30, Key(Tab, 15, true)});
    return Concat(out, {P30, Key(Alt, 56, true)});
}

// Tokens played with a 40 ms pause before each press, then held 50 ms and released in order.
Lines Played(const std::vector<std::pair<int, int>>& keys) {
    Lines out;
    for (auto [vk, scan] : keys) out = Concat(out, {Wait(40)[0], Key(vk, scan, false)});
    out.push_back(Wait(50)[0]);
    for (auto [vk, scan] : keys) out.push_back(Key(vk, scan, true));
    return out;
}

class LocalCommandTest : public SimTest {
protected:
    LocalCommandEngine engine;
    LogType logType = LogType_Base;
    vewin::HICON icon = nullptr;

    // Placeholder entries keep the grammar files unread; each test fills what it needs.
    LocalCommandTest() {
        ResetOfficeCtrlTables();
        OfficeTable()[{"\x01"}] = OutPptTable()[{"\x01"}] = {"F1"};
    }
    ~LocalCommandTest() override { ResetOfficeCtrlTables(); }

    Lines Keys() { return Only(Trace(), [](const std::string& c) { return c == "keybd_event" || c == "Sleep"; }); }
    // One command in slide-show mode (GBK text) or normal mode; no key may be left held.
    bool Run(bool slideShow, const std::string& utf8) {
        sim->ClearTrace();
        logType = LogType_Base;
        const bool done = slideShow ? engine.ExecuteSlideShowCommand(Gbk(utf8), logType, icon)
                                    : engine.ExecuteNormalCommand(Wide(utf8), logType, icon);
        EXPECT_TRUE(sim->HeldKeys().empty());
        return done;
    }
    bool SlideShow(const std::string& utf8) { return Run(true, utf8); }
    bool Normal(const std::string& utf8) { return Run(false, utf8); }
};

TEST_F(LocalCommandTest, SlideShowPhrases) {
    const struct { const char* text; Lines keys; } cases[] = {
        {"返回桌面", {Key(Win, 91, false), Wait(50)[0], Key(KeyD, 32, false), Key(KeyD, 32, true), Key(Win, 91, true)}},
        {"播放视频", {Key(Tab, 15, false), Key(Enter, 28, false), Key(Enter, 28, true), Key(Tab, 15, true)}},
        {"停止播放", {Key(PlayPause, 34, false), Key(PlayPause, 34, true)}},
        // No count means two; a huge or wrapped count is limited.
        {"切换窗口", SwitchWindows(2)}, {"切换窗口三", SwitchWindows(3)}, {"切换窗口一亿", SwitchWindows(50)},
        {"切换窗口3000000000", SwitchWindows(50)}, {"第3页", Played({{'3', 4}, {Enter, 28}})},
        {"第一页", Played({{'1', 2}, {Enter, 28}})},
        {"第九万九千九百九十九页", Played({{'9', 10}, {'9', 10}, {'9', 10}, {'9', 10}, {'9', 10}, {Enter, 28}})},
        {"第03页", Played({{'0', 11}, {'3', 4}, {Enter, 28}})},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(SlideShow(c.text)) << c.text;
        EXPECT_EQ(Keys(), c.keys) << c.text;
        EXPECT_EQ(logType, LogType_SlideShow);
    }
    // 耙长 holds the bytes of 页 across two characters; a page counted from here names no page; a
    // page number past a few digits is refused, never wrapped or typed.
    const std::string million = "第" + std::string(1000000, '7') + "页";
    for (const char* text : {"第页", "第3耙长", "切换", "", "请静音", "下一页", "上一页", "最后一页", "往后翻两页",
                             "第三十亿页", "第一亿页", "第100000页", "第000001页", million.c_str()}) {
        EXPECT_FALSE(SlideShow(text)) << text;
        EXPECT_EQ(Keys(), Lines{}) << text;
        EXPECT_EQ(logType, LogType_Base);
    }
}

TEST_F(LocalCommandTest, SlideShowOrderUserBindingVolumeFixedPhrasesGrammar) {
    sim->State().userFiles = {"静音"};
    EXPECT_TRUE(SlideShow("静音"));
    EXPECT_EQ(Readable(Trace()), Lines{R"(CDataFactory::VeOpenUserFiles("静音") -> true)"});
    EXPECT_EQ(logType, LogType_SlideShow);  // replaces the host's kind
    EXPECT_TRUE(SlideShow("关闭声音") && SlideShow("亮度最大"));

    PptTable()[{Gbk("下一页")}] = {"PAGEDOWN"};
    EXPECT_TRUE(SlideShow("请到下一页"));
    EXPECT_EQ(Keys(), Played({{PageDown, 81}}));
    PptTable()[{Gbk("页")}] = PptTable()[{Gbk("桌面")}] = {"F5"};
    EXPECT_TRUE(SlideShow("第3页"));  // the grammar's keys, not the page number
    EXPECT_EQ(Keys(), Played({{0x74, 63}}));
    EXPECT_TRUE(SlideShow("桌面"));
    EXPECT_EQ(Keys().front(), Key(Win, 91, false));
}

// The real slide-show grammar, missing or damaged in each way a file gets damaged: a page
// command does what the grammar says or nothing, never another page, and the damage is told.
TEST_F(LocalCommandTest, SlideShowPagesWithAMissingOrDamagedGrammar) {
    const auto source = [](const char* name) {
        std::ifstream in(std::string(VESCENE_DATA_SOURCES "/") + name, std::ios::binary);
        std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), crlf;
        for (char c : utf8) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return crlf;
    };
    const std::string utf8 = source("officectrl.txt"), grammar = Gbk(utf8), slideShow = Gbk(source("officectrloutppt.txt"));
    ASSERT_FALSE(grammar.empty());
    std::string flipped = grammar;
    for (size_t i = 0; i < flipped.size(); i += 13) flipped[i] ^= 0x01;
    const std::pair<const char*, std::optional<std::string>> damaged[] = {
        {"missing", std::nullopt}, {"empty", ""}, {"truncated", grammar.substr(0, grammar.size() * 2 / 3)},
        {"bit-flipped", flipped}, {"UTF-8", utf8}, {"swapped with the slide-show grammar", slideShow},
    };
    // What each command may do: its grammar keys, nothing, or (第一页) the same page by number.
    const struct { const char* text; Lines keys; Lines same; } commands[] = {
        {"下一页", Played({{PageDown, 81}}), {}}, {"上一页", Played({{0x21, 73}}), {}},
        {"第一页", Played({{0x24, 71}}), Played({{'1', 2}, {Enter, 28}})}, {"最后一页", Played({{0x23, 79}}), {}},
    };
    const auto run = [&](const char* what, const std::optional<std::string>& file) {
        ResetGrammars();
        if (file) WriteGrammar(kGrammar, *file);
        WriteGrammar(kOutPpt, slideShow);
        size_t told = 0;
        for (const auto& c : commands) {
            SlideShow(c.text);
            told += EventsOf("OutputDebugStringW").size();
            const Lines played = Keys();
            EXPECT_TRUE(played == c.keys || played.empty() || played == c.same) << what << ": " << c.text;
        }
        return told;
    };
    EXPECT_EQ(run("intact", grammar), 0u);
    for (const auto& c : commands) {  // the intact grammar's own keys
        SlideShow(c.text);
        EXPECT_EQ(Keys(), c.keys) << c.text;
    }
    for (const auto& [what, file] : damaged) EXPECT_EQ(run(what, file), 1u) << what;
}

TEST_F(LocalCommandTest, NormalPhrasesThenSlideShowCommandsThenHostBindings) {
    const struct { const char* text; Lines keys; } cases[] = {
        {"关闭", {Key(Alt, 56, false), P30, Key(F4, 62, false), Key(Alt, 56, true), Key(F4, 62, true)}},
        {"确定", {Key(Enter, 28, false), Key(Enter, 28, true)}},
        {"我的桌面", {Key(Win, 91, false), Key(KeyD, 32, false), Key(Win, 91, true), Key(KeyD, 32, true)}},
        {"切换两个窗口", SwitchWindows(2)} /* 两 is no numeral */,
        {"返回ppt吧", {Key(Alt, 56, false), P30, Key(Tab, 15, false), Key(Tab, 15, true), P30, Key(Alt, 56, true)}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Normal(c.text)) << c.text;
        EXPECT_EQ(Keys(), c.keys) << c.text;
        EXPECT_TRUE(EventsOf("CDataFactory::OpenPcSoftwareLnk").empty());
    }
    // Programs start by full path; a 32-bit process on 64-bit Windows reaches System32 through
    // Sysnative; one that needs elevation goes through the shell, which shows the prompt.
    const std::string sysnative = R"(C:\\Windows\\Sysnative\\notepad.exe)";
    sim->State().wow64 = true;
    sim->State().startErrors = {{"C:\\Windows\\Sysnative\\notepad.exe", vewin::ERROR_ELEVATION_REQUIRED}};
    EXPECT_TRUE(Normal("txt"));
    EXPECT_EQ(Readable(Trace()), (Lines{"GetCurrentProcess() -> -1", "IsWow64Process(-1) -> true",
                                       R"(GetWindowsDirectoryW() -> "C:\\Windows")",
                                       "CreateProcessW(\"" + sysnative + "\", \"\\\"" + sysnative + "\\\"\") -> 0",
                                       "GetLastError() -> 740",
                                       "ShellExecuteExW(256, null, \"" + sysnative + "\", null, null, 1) -> 1"}));
    EXPECT_TRUE(Normal("打开我的电脑"));
    EXPECT_EQ(Readable(Trace()), (Lines{R"(GetWindowsDirectoryW() -> "C:\\Windows")",
                                       R"(CreateProcessW("C:\\Windows\\explorer.exe", "\"C:\\Windows\\explorer.exe\" /s,") -> 1)"}));
    EXPECT_TRUE(Normal("音量调大") && Normal("亮度调低"));

    OutPptTable()[{Gbk("下一页")}] = {"PAGEDOWN"};
    sim->State().slideShow = true;
    EXPECT_TRUE(Normal("下一页"));
    EXPECT_EQ(logType, LogType_SlideShow);
    EXPECT_TRUE(EventsOf("CDataFactory::OpenPcSoftwareLnk").empty());
    // Found while no slide show runs: a failure kind unless a host binding takes the text.
    sim->State().slideShow = false;
    EXPECT_FALSE(Normal("下一页"));
    EXPECT_EQ(logType, LogType_Failure);
    EXPECT_EQ(Readable(Trace()), (Lines{"CurrentWnd::IsPPtSlideShow() -> false",
                                       R"(CDataFactory::OpenPcSoftwareLnk("下一页") -> false)",
                                       R"(CAccountData::OpenUserSelf("下一页") -> false)",
                                       R"(CDataFactory::OpenWebsite_Grm("下一页") -> false)"}));
    sim->State().programs = {"下一页"};
    EXPECT_TRUE(Normal("下一页"));
    EXPECT_EQ(logType, LogType_Application);
    sim->State().userCommands = {"开会"};
    sim->State().websites = {{"淘宝", "https://www.taobao.com/"}};
    EXPECT_TRUE(Normal("开会") && Normal("淘宝"));
    EXPECT_EQ(logType, LogType_Website);
    EXPECT_FALSE(Normal("没有这个命令"));
    EXPECT_EQ(logType, LogType_Base);
    EXPECT_FALSE(Normal(""));
    EXPECT_TRUE(Trace().empty());
}

}  // namespace
