// Key names, chords and typed text as the simulated desktop sees them.
#include "TestSupport.h"
#include "keyboard/KeyPlayer.h"

using namespace vetest;

namespace {

Lines Down(int vk, int scan) { return KeyCalls(vk, scan, false); }
Lines Up(int vk, int scan) { return KeyCalls(vk, scan, true); }

const std::string kBlank = "SendInput(2, 0, 0, 0, 0, 0, 0, 0, 0) -> 2";
std::string Unit(char16_t unit) {
    const std::string n = std::to_string(unit);
    return "SendInput(2, 1, 0, " + n + ", 4, 1, 0, " + n + ", 6) -> 2";
}

class KeyPlayerTest : public SimTest {};

TEST_F(KeyPlayerTest, KeyNames) {
    const struct { std::string name; int key; } cases[] = {
        {"+", -1}, {",", -2}, {Gbk("↑"), 38}, {"]", 221}, {"RETURN", 13}, {"ENTER", 13}, {"PAGEDOWN", 34}, {"F12", 123},
        // Not in the table: the first byte, sign-extended.
        {"A", 65}, {"enter", 101}, {"F13", 70}, {"CTRL ", 67}, {"", 0}, {"←", -30} /* UTF-8, not GBK */, {Gbk("中"), -42},
    };
    for (const auto& c : cases) EXPECT_EQ(TyUtil::MapKeyStr2Int(c.name), c.key) << Utf8(c.name);
}

TEST_F(KeyPlayerTest, PlaysChordsAndSteps) {
    // Before the first key: the foreground window's integrity level against ours. Into a window
    // of a higher level (an administrator's console) nothing goes, and the user is told.
    const Lines noWindow = {"GetForegroundWindow() -> 0"};
    const Lines same = {"GetForegroundWindow() -> 14400", "GetWindowThreadProcessId(14400) -> 900", "GetCurrentProcessId() -> 4000",
                        "GetProcessIntegrityLevel(900) -> 8192", "GetProcessIntegrityLevel(4000) -> 8192"};
    Lines higher = same;
    higher[3] = "GetProcessIntegrityLevel(900) -> 12288";
    higher.push_back("VeUI::Tray(" + Q("无法向以管理员身份运行的窗口发送按键") + ", 1)");
    const struct { const char* what; std::vector<std::string> tokens; vewin::DWORD delay; Lines trace; unsigned ms;
                   vewin::DWORD level = 0; } cases[] = {
        {"chord", {"CTRL", "+", "C"}, 0, Seq(noWindow, Down(17, 29), Down(67, 46), Wait(50), Up(17, 29), Up(67, 46)), 50},
        {"same level", {"CTRL", "+", "C"}, 0, Seq(same, Down(17, 29), Down(67, 46), Wait(50), Up(17, 29), Up(67, 46)), 50,
         0x2000},
        {"administrator window", {"CTRL", "+", "C"}, 0, higher, 0, 0x3000},
        // Extended keys: KEYEVENTF_EXTENDEDKEY (1) down and up, the same scan code both ways.
        {"arrow and page down", {Gbk("→"), "+", "PAGEDOWN"}, 0, Seq(noWindow, Down(0x27, 0x4D), Down(0x22, 0x51), Wait(50),
                                                            Up(0x27, 0x4D), Up(0x22, 0x51)), 50},
        {"two steps, press delay", {"ALT", "+", "F", ",", "S"}, 40,
         Seq(noWindow, Wait(40), Down(18, 56), Wait(40), Down(70, 33), Wait(50), Up(18, 56), Up(70, 33), Wait(40),
             Down(83, 31), Wait(50), Up(83, 31)), 220},
        {"key tips", {"ALT", ",", "H", ",", ""}, 0,
         Seq(noWindow, Down(18, 56), Wait(50), Up(18, 56), Down(72, 35), Wait(50), Up(72, 35), Down(0, 0), Wait(50), Up(0, 0)), 150},
        {"empty", {}, 0, Seq(noWindow, Wait(50)), 50},
        {"separators only", {",", "+", ","}, 40, Seq(noWindow, Wait(50), Wait(50), Wait(50)), 150},
        // Only the low 8 bits of a negative code reach Windows.
        {"utf-8 arrow", {"←"}, 0, Seq(noWindow, Down(-30, 0), Wait(50), Up(-30, 0)), 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        vesim::ScopedSim fresh;
        if (c.level) {
            fresh->State().windows = {{"管理员: 命令提示符", 900}};
            fresh->State().foregroundTitle = "管理员: 命令提示符";
            fresh->State().integrityLevels = {{900, c.level}};
        }
        PlayKeySequence(c.tokens, c.delay);
        EXPECT_EQ(Readable(fresh->Trace()), c.trace);
        EXPECT_EQ(fresh->Clock(), c.ms);
        EXPECT_TRUE(fresh->HeldKeys().empty());
    }
}

// Each unit is a Unicode pair; sentence punctuation gets an empty pair before it, the rest two after.
TEST_F(KeyPlayerTest, TypesTextWhileKeyHeldAndSeesEachToken) {
    Lines seen;
    PlayKeySequence({"CTRL", "+", "#a" + Gbk("中")}, 0, [&](const std::string& token) { seen.push_back(Utf8(token)); });
    EXPECT_EQ(Readable(Trace()), Seq(Lines{"GetForegroundWindow() -> 0"}, Down(17, 29), Lines{Unit('a'), kBlank, kBlank, Unit(0x4E2D), kBlank, kBlank},
                                     Wait(50), Up(17, 29)));
    EXPECT_EQ(seen, (Lines{"CTRL", "+", "#a中"}));
    EXPECT_TRUE(sim->HeldKeys().empty());

    sim->ClearTrace();
    TypeText(CString(u".?!,。😀"));  // a surrogate pair goes as two units
    Lines expected = {"GetForegroundWindow() -> 0"};
    for (char16_t p : std::u16string_view(u".?!,")) expected = Concat(expected, {kBlank, Unit(p), kBlank});
    for (char16_t u : std::u16string_view(u"。\xD83D\xDE00")) expected = Concat(expected, {Unit(u), kBlank, kBlank});
    EXPECT_EQ(Readable(Trace()), expected);
    sim->ClearTrace();
    TypeText(CString());
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(sim->Clock(), 50u);  // only the chord's hold: typing never waits

    // However a command ends, it leaves nothing held: its scope releases what is still down.
    sim->ClearTrace();
    {
        InputScope command;
        KeyDown(0x11);
        KeyDown(0xA5);  // right Alt, of the extended set
    }
    EXPECT_TRUE(sim->HeldKeys().empty());
    EXPECT_EQ(Readable(Trace()), Seq(Lines{"GetForegroundWindow() -> 0"}, Down(0x11, 29), Down(0xA5, 56), Up(0x11, 29),
                                     Up(0xA5, 56)));
}

}  // namespace
