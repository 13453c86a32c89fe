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
// One typed unit: sentence punctuation gets an empty pair before it, the rest two after.
Lines Typed(char16_t unit) {
    bool punctuation = unit == u'.' || unit == u'?' || unit == u'!' || unit == u',';
    return punctuation ? Lines{kBlank, Unit(unit), kBlank} : Lines{Unit(unit), kBlank, kBlank};
}
Lines TypedText(const std::u16string& text) {
    Lines out;
    for (char16_t unit : text) out = Concat(out, Typed(unit));
    return out;
}

class KeyPlayerTest : public SimTest {};

TEST_F(KeyPlayerTest, KeyNames) {
    const struct { std::string name; int key; } cases[] = {
        {"+", -1}, {",", -2}, {Gbk("↑"), 38}, {Gbk("↓"), 40}, {Gbk("←"), 37}, {Gbk("→"), 39},
        {"[", 219}, {"]", 221}, {"ALT", 18}, {"CTRL", 17}, {"SHIFT", 16}, {"RETURN", 13}, {"ENTER", 13},
        {"PAGEDOWN", 34}, {"PAGEUP", 33}, {"ESCAPE", 27}, {"F1", 112}, {"F10", 121}, {"F12", 123},
        {"HOME", 36}, {"END", 35}, {"TAB", 9},
        // Not in the table: the first byte, sign-extended.
        {"A", 65}, {"5", 53}, {"enter", 101}, {"Ctrl", 67}, {"DELETE", 68}, {"F13", 70}, {"", 0},
        {"←", -30} /* UTF-8, not GBK */, {Gbk("中"), -42}, {"CTRL ", 67},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.name));
        EXPECT_EQ(TyUtil::MapKeyStr2Int(c.name), c.key);
    }
}

TEST_F(KeyPlayerTest, PlaysChordsAndSteps) {
    const struct {
        const char* what;
        std::vector<std::string> tokens;
        vewin::DWORD delay;
        Lines trace;
        unsigned long long clockMs;
    } cases[] = {
        {"chord", {"CTRL", "+", "C"}, 0,
         Seq(Down(17, 29), Down(67, 46), Wait(50), Up(17, 29), Up(67, 46)), 50},
        {"two steps", {"ALT", "+", "F", ",", "S"}, 0,
         Seq(Down(18, 56), Down(70, 33), Wait(50), Up(18, 56), Up(70, 33), Down(83, 31), Wait(50), Up(83, 31)), 100},
        {"two steps, press delay", {"ALT", "+", "F", ",", "S"}, 40,
         Seq(Wait(40), Down(18, 56), Wait(40), Down(70, 33), Wait(50), Up(18, 56), Up(70, 33), Wait(40),
             Down(83, 31), Wait(50), Up(83, 31)),
         220},
        {"arrow chord", {"ALT", "+", "SHIFT", "+", Gbk("↑")}, 0,
         Seq(Down(18, 56), Down(16, 42), Down(38, 72), Wait(50), Up(18, 56), Up(16, 42), Up(38, 72)), 50},
        {"key tips", {"ALT", ",", "H", ",", ""}, 0,
         Seq(Down(18, 56), Wait(50), Up(18, 56), Down(72, 35), Wait(50), Up(72, 35), Down(0, 0), Wait(50),
             Up(0, 0)),
         150},
        {"empty", {}, 0, Wait(50), 50},
        {"separators only", {",", "+", ","}, 40, Seq(Wait(50), Wait(50), Wait(50)), 150},
        // Only the low 8 bits of a negative code reach Windows.
        {"utf-8 arrow", {"←"}, 0, Seq(Down(-30, 0), Wait(50), Up(-30, 0)), 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        vesim::ScopedSim fresh;
        PlayKeySequence(c.tokens, c.delay);
        EXPECT_EQ(Readable(fresh->Trace()), c.trace);
        EXPECT_EQ(fresh->Clock(), c.clockMs);
        EXPECT_TRUE(fresh->HeldKeys().empty());
    }
}

TEST_F(KeyPlayerTest, TypesTextWhileKeyHeldAndSeesEachToken) {
    Lines seen;
    PlayKeySequence({"CTRL", "+", "#a" + Gbk("中")}, 0, [&](const std::string& token) { seen.push_back(Utf8(token)); });
    EXPECT_EQ(Readable(Trace()), Seq(Down(17, 29), TypedText(u"a中"), Wait(50), Up(17, 29)));
    EXPECT_EQ(seen, (Lines{"CTRL", "+", "#a中"}));
    EXPECT_TRUE(sim->HeldKeys().empty());
}

TEST_F(KeyPlayerTest, TypesEachUnitAsUnicodePair) {
    const struct { std::u16string text; Lines trace; } cases[] = {
        {u"a.b", {Unit('a'), kBlank, kBlank, kBlank, Unit('.'), kBlank, Unit('b'), kBlank, kBlank}},
        {u"?!,", {kBlank, Unit('?'), kBlank, kBlank, Unit('!'), kBlank, kBlank, Unit(','), kBlank}},
        {u"中文", {Unit(0x4E2D), kBlank, kBlank, Unit(0x6587), kBlank, kBlank}},
        {u"。😀", Seq(TypedText(u"。"), TypedText(u"\xD83D"), TypedText(u"\xDE00"))},
        {u"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(CString(c.text)));
        sim->ClearTrace();
        TypeText(CString(c.text));
        EXPECT_EQ(Readable(Trace()), c.trace);
    }
    EXPECT_TRUE(sim->HeldKeys().empty());
    EXPECT_EQ(sim->Clock(), 0u);
}

}  // namespace
