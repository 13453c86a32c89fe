// Spoken office commands played into the focused window.
#include <functional>

#include "TestSupport.h"
#include "keyboard/OfficeSenders.h"

using namespace vetest;

namespace {

Lines Debug(const std::string& token) { return {"OutputDebugStringW(" + Q(token) + ")"}; }
// A slide-show step of one key: 40 ms before the press, held 50 ms.
Lines Step(int vk, int scan) { return Seq(Wait(40), KeyCalls(vk, scan, false), Wait(50), KeyCalls(vk, scan, true)); }

class OfficeSendersTest : public SimTest {
protected:
    void SetUp() override { ResetGrammars(); }
    void TearDown() override { ResetGrammars(); }
    static void WriteGrammars() {
        WriteGrammar(kGrammar, Records({"----office----;", "保存:CTRL+S;", "----word----;", "保存:CTRL+W;", "居中:CTRL+E;",
                                        "----ppt----;", "下一页:PAGEDOWN;", "----excel----;", "求和:ALT,H,U,S;",
                                        "下一页:CTRL+PAGEDOWN;"}));
        WriteGrammar(kOutPpt, Records({"第二页:2,RETURN;", "黑屏:B;"}));
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
        if (c.presses.empty()) EXPECT_TRUE(Trace().empty());
        EXPECT_TRUE(sim->HeldKeys().empty());
    }
}

TEST_F(OfficeSendersTest, WordWritesEachTokenJustBeforePlayingIt) {
    WriteGrammars();
    ASSERT_TRUE(SendWordKeys(Gbk("居中")));
    EXPECT_EQ(Readable(Trace()), Seq(Debug("CTRL"), KeyCalls(17, 29, false), Debug("+"), Debug("E"),
                                     KeyCalls(69, 18, false), Wait(50), KeyCalls(17, 29, true), KeyCalls(69, 18, true)));
    sim->ClearTrace();
    ASSERT_TRUE(SendWordKeys(Gbk("保存")));
    EXPECT_TRUE(EventsOf("OutputDebugStringW").empty());
}

TEST_F(OfficeSendersTest, SlideShowCommandsInNormalMode) {
    WriteGrammars();
    const std::string shown = "CurrentWnd::IsPPtSlideShow() -> true";
    const struct { bool slideShow; const char* text; int result; Lines trace; unsigned long long clockMs; } cases[] = {
        {true, "跳到第二页", OutPpt_Sent, Seq(Lines{shown}, Step(50, 3), Step(13, 28)), 180},
        {true, "黑屏", OutPpt_Sent, Seq(Lines{shown}, Step(66, 48)), 90},
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
        const std::string gbk = Gbk(text);
        for (auto send : {SendOfficeKeys, SendWordKeys, SendPPtKeys, SendExcelKeys}) EXPECT_FALSE(send(gbk)) << text;
        EXPECT_EQ(SendOutPPtKeys(gbk), OutPpt_NoCommand);
    }
    EXPECT_TRUE(Trace().empty());
}

}  // namespace
