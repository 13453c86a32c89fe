// Spoken office commands played into the focused window.
#include <filesystem>
#include <fstream>
#include <functional>

#include "TestSupport.h"
#include "keyboard/OfficeGrammar.h"
#include "keyboard/OfficeSenders.h"

using namespace vetest;

namespace {

std::string Records(const Lines& utf8Lines) {
    std::string out;
    for (const auto& line : utf8Lines) out += Gbk(line) + "\r\n";
    return out;
}

class OfficeSendersTest : public SimTest {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        ResetOfficeCtrlTables();
        for (const char* name : {"officectrl.grm", "officectrloutppt.grm"})
            std::filesystem::remove(DataDir() + "/" + name);
    }
    static void WriteGrammars() {
        std::ofstream(DataDir() + "/officectrl.grm", std::ios::binary)
            << Records({"----office----;", "保存:CTRL+S;", "----word----;", "保存:CTRL+W;", "居中:CTRL+E;",
                        "----ppt----;", "下一页:PAGEDOWN;", "----excel----;", "求和:ALT,H,U,S;",
                        "下一页:CTRL+PAGEDOWN;"});
        std::ofstream(DataDir() + "/officectrloutppt.grm", std::ios::binary)
            << Records({"第二页:2,RETURN;", "黑屏:B;"});
        EnsureOfficeCtrlGrammars();
    }
    // The virtual keys pressed, in order.
    std::vector<long long> Presses() {
        std::vector<long long> keys;
        for (const auto& e : EventsOf("keybd_event"))
            if (e.args.at(2).number == 0) keys.push_back(e.args.at(0).number);
        return keys;
    }
};

TEST_F(OfficeSendersTest, OfficeFirstThenEachApplicationsLookup) {
    WriteGrammars();
    using Sender = std::function<bool(const std::string&)>;
    const Sender office = SendOfficeKeys, word = SendWordKeys, ppt = SendPPtKeys, excel = SendExcelKeys;
    const struct { const char* what; Sender send; const char* text; std::vector<long long> presses; } cases[] = {
        {"office", office, "保存", {17, 'S'}},
        {"office: word phrase", office, "居中", {}},
        {"word: office wins", word, "保存", {17, 'S'}},
        {"word", word, "居中", {17, 'E'}},
        {"word: whole text only", word, "请居中", {}},
        {"word: ppt phrase", word, "下一页", {}},
        {"ppt: office by equality", ppt, "保存", {17, 'S'}},
        {"ppt: office phrase inside", ppt, "请保存", {}},
        {"ppt: contained", ppt, "翻到下一页吧", {34}},
        {"excel", excel, "下一页", {17, 34}},
        {"excel: whole text only", excel, "到下一页", {}},
        {"excel: key tips", excel, "求和", {18, 'H', 'U', 'S'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim->ClearTrace();
        EXPECT_EQ(c.send(Gbk(c.text)), !c.presses.empty());
        EXPECT_EQ(Presses(), c.presses);
        if (c.presses.empty()) {
            EXPECT_TRUE(Trace().empty());
        }
        EXPECT_TRUE(sim->HeldKeys().empty());
    }
}

TEST_F(OfficeSendersTest, WordWritesEachTokenJustBeforePlayingIt) {
    WriteGrammars();
    ASSERT_TRUE(SendWordKeys(Gbk("居中")));
    EXPECT_EQ(Readable(Trace()),
              (Lines{"OutputDebugStringW(\"CTRL\")", "MapVirtualKeyW(17, 0) -> 29", "keybd_event(17, 29, 0, 0)",
                     "OutputDebugStringW(\"+\")", "OutputDebugStringW(\"E\")", "MapVirtualKeyW(69, 0) -> 18",
                     "keybd_event(69, 18, 0, 0)", "Sleep(50)", "MapVirtualKeyW(17, 0) -> 29", "keybd_event(17, 29, 2, 0)",
                     "MapVirtualKeyW(69, 0) -> 18", "keybd_event(69, 18, 2, 0)"}));
    sim->ClearTrace();
    ASSERT_TRUE(SendWordKeys(Gbk("保存")));
    EXPECT_TRUE(EventsOf("OutputDebugStringW").empty());
}

TEST_F(OfficeSendersTest, SlideShowCommandsInNormalMode) {
    WriteGrammars();
    const std::string shown = "CurrentWnd::IsPPtSlideShow() -> true";
    const struct { bool slideShow; const char* text; int result; Lines trace; unsigned long long clockMs; } cases[] = {
        {true, "跳到第二页", OutPpt_Sent,
         {shown, "Sleep(40)", "MapVirtualKeyW(50, 0) -> 3", "keybd_event(50, 3, 0, 0)", "Sleep(50)",
          "MapVirtualKeyW(50, 0) -> 3", "keybd_event(50, 3, 2, 0)", "Sleep(40)", "MapVirtualKeyW(13, 0) -> 28",
          "keybd_event(13, 28, 0, 0)", "Sleep(50)", "MapVirtualKeyW(13, 0) -> 28", "keybd_event(13, 28, 2, 0)"},
         180},
        {true, "黑屏", OutPpt_Sent,
         {shown, "Sleep(40)", "MapVirtualKeyW(66, 0) -> 48", "keybd_event(66, 48, 0, 0)", "Sleep(50)",
          "MapVirtualKeyW(66, 0) -> 48", "keybd_event(66, 48, 2, 0)"},
         90},
        {false, "黑屏", OutPpt_NoSlideShow, {"CurrentWnd::IsPPtSlideShow() -> false"}, 0},
        {true, "下一页", OutPpt_NoCommand, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        vesim::ScopedSim fresh;
        fresh->State().slideShow = c.slideShow;
        EXPECT_EQ(SendOutPPtKeys(Gbk(c.text)), c.result);
        EXPECT_EQ(Readable(fresh->Trace()), c.trace);
        EXPECT_EQ(fresh->Clock(), c.clockMs);
        EXPECT_TRUE(fresh->HeldKeys().empty());
    }
}

TEST_F(OfficeSendersTest, MissingGrammarsSendNothing) {
    EnsureOfficeCtrlGrammars();
    sim->State().slideShow = true;
    for (const char* text : {"保存", "下一页", "", "黑屏"}) {
        const std::string gbkText = Gbk(text);
        EXPECT_FALSE(SendOfficeKeys(gbkText));
        EXPECT_FALSE(SendWordKeys(gbkText));
        EXPECT_FALSE(SendPPtKeys(gbkText));
        EXPECT_FALSE(SendExcelKeys(gbkText));
        EXPECT_EQ(SendOutPPtKeys(gbkText), OutPpt_NoCommand);
    }
    EXPECT_TRUE(Trace().empty());
}

}  // namespace
