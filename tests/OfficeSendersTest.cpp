// Spoken office commands played into the focused window.
#include <functional>

#include "TestSupport.h"
#include "keyboard/OfficeSenders.h"

using namespace vetest;

namespace {

class OfficeSendersTest : public SimTest {
protected:
    void SetUp() override {
        ResetGrammars();
        WriteGrammar(kGrammar, Records({"----office----;", "保存:CTRL+S;", "----word----;", "保存:CTRL+W;", "居中:CTRL+E;",
                                        "----ppt----;", "下一页:PAGEDOWN;", "----excel----;", "求和:ALT,H,U,S;",
                                        "下一页:CTRL+PAGEDOWN;"}));
        WriteGrammar(kOutPpt, Records({"第二页:2,RETURN;", "黑屏:B;"}));
    }
    void TearDown() override { ResetGrammars(); }
};

TEST_F(OfficeSendersTest, OfficeFirstThenEachApplicationsLookup) {
    EnsureOfficeCtrlGrammars();
    using Sender = std::function<bool(const std::string&)>;
    const Sender office = SendOfficeKeys, word = SendWordKeys, ppt = SendPPtKeys, excel = SendExcelKeys;
    const struct { const char* what; Sender send; const char* text; std::vector<long long> presses; } cases[] = {
        {"office", office, "保存", {17, 'S'}}, {"office: word phrase", office, "居中", {}},
        {"word: office wins", word, "保存", {17, 'S'}}, {"word: whole text only", word, "请居中", {}},
        {"ppt: office first", ppt, "保存", {17, 'S'}}, {"ppt: office phrase inside", ppt, "请保存", {}},
        {"ppt: contained", ppt, "翻到下一页吧", {34}},
        {"excel", excel, "下一页", {17, 34}}, {"excel: key tips", excel, "求和", {18, 'H', 'U', 'S'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim->ClearTrace();
        EXPECT_EQ(c.send(Gbk(c.text)), !c.presses.empty());
        std::vector<long long> presses;
        for (const auto& e : EventsOf("keybd_event"))
            if (!(e.args.at(2).number & vewin::KEYEVENTF_KEYUP)) presses.push_back(e.args.at(0).number);
        EXPECT_EQ(presses, c.presses);
        if (c.presses.empty()) {
            EXPECT_TRUE(Trace().empty());
        }
        EXPECT_TRUE(EventsOf("OutputDebugStringW").empty());
        EXPECT_TRUE(sim->HeldKeys().empty());
    }
    // Word writes each token out just before playing it.
    sim->ClearTrace();
    ASSERT_TRUE(SendWordKeys(Gbk("居中")));
    auto debug = [](const char* token) { return Lines{"OutputDebugStringW(" + Q(token) + ")"}; };
    EXPECT_EQ(Readable(Trace()), Seq(Lines{"GetForegroundWindow() -> 0"}, debug("CTRL"), KeyCalls(17, 29, false), debug("+"), debug("E"),
                                     KeyCalls(69, 18, false), Wait(50), KeyCalls(17, 29, true), KeyCalls(69, 18, true)));
}

TEST_F(OfficeSendersTest, SlideShowCommandsInNormalMode) {
    EnsureOfficeCtrlGrammars();
    // A slide-show step of one key: 40 ms before the press, held 50 ms.
    auto step = [](int vk, int scan) { return Seq(Wait(40), KeyCalls(vk, scan, false), Wait(50), KeyCalls(vk, scan, true)); };
    const struct { bool slideShow; const char* text; int result; Lines trace; unsigned long long clockMs; } cases[] = {
        {true, "跳到第二页", OutPpt_Sent, Seq(Lines{"CurrentWnd::IsPPtSlideShow() -> true", "GetForegroundWindow() -> 0"}, step(50, 3), step(13, 28)), 180},
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
    ResetGrammars();
    EnsureOfficeCtrlGrammars();
    sim->State().slideShow = true;
    for (const char* text : {"保存", "下一页", "", "黑屏"}) {
        for (auto send : {SendOfficeKeys, SendWordKeys, SendPPtKeys, SendExcelKeys}) EXPECT_FALSE(send(Gbk(text))) << text;
        EXPECT_EQ(SendOutPPtKeys(Gbk(text)), OutPpt_NoCommand);
    }
    // Told once each, at the first load.
    const auto told = [](const char* file) {
        return "OutputDebugStringW(" + Q(std::string("VeScene: ") + file + ": grammar missing or empty; its commands are off") + ")";
    };
    EXPECT_EQ(Readable(Trace()), (Lines{told(kGrammar), told(kOutPpt)}));
}

}  // namespace
