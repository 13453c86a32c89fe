// Spoken volume and brightness phrases, observed as the host's environment calls they make.
#include "TestSupport.h"
#include "host/DataFactory.h"
#include "local/LocalCommandEngine.h"

using namespace vetest;

namespace {

std::string Vol(int level, bool mute, int result) {
    return "CEnvironmentMonitor::SetVolume(" + std::to_string(level) + (mute ? ", true) -> " : ", false) -> ") +
           std::to_string(result);
}
std::string Shown(int level) { return "VeUI::Tray(" + Q("音量：" + std::to_string(level)) + ", 1)"; }
// A change: the step or level, the unmute, the level set again.
Lines Change(int request, int result, Lines more) {
    return Concat({Vol(request, false, result), Vol(0, true, result), Vol(result, false, result)}, more);
}

class VolumeBrightnessTest : public SimTest {
protected:
    LocalCommandEngine engine;
    int saved = CPreferences::Data()->GetCurrentBrightness();
    ~VolumeBrightnessTest() override { CPreferences::Data()->SetCurrentBrightness(saved); }
};

TEST_F(VolumeBrightnessTest, VolumePhrasesStepSetMuteAndReport) {
    const struct { const char* text; int start; bool handled; Lines trace; } cases[] = {
        {"关闭声音", 50, true, {Vol(1, true, 50)}}, {"取消静音", 50, true, {Vol(0, true, 50)}},
        {"声音大一点", 50, true, Change(200, 60, {Shown(60)})}, {"音量低", 50, true, Change(-200, 40, {Shown(40)})},
        // 最 goes on stepping, without further unmutes, to the limit.
        {"音量调到最大", 75, true, Change(200, 85, {Vol(200, false, 95), Vol(200, false, 100), Shown(100)})},
        {"声音最小", 13, true, Change(-200, 3, {Vol(-200, false, 0), Shown(0)})},
        {"音量最大", 100, true, Change(200, 100, {Shown(100)})}, {"音量调到30", 50, true, Change(30, 30, {Shown(30)})},
        {"音量调到100", 50, true, Change(100, 100, {Shown(100)})},
        // Past the top: refused, never clamped (200 would ask for a step) or wrapped.
        {"音量调到200", 50, false, {}}, {"音量调到3000000000", 50, false, {}}, {"音量调到4294967306", 50, false, {}},
        {"音量调到", 50, false, {}}, {"音量调到五十", 50, false, {}}, {"声音", 50, false, {}}, {"请静音", 50, false, {}},
    };
    for (const auto& c : cases) {
        sim->ClearTrace();
        sim->State().volume = c.start;
        EXPECT_EQ(engine.AdjustVolume(Wide(c.text)), c.handled) << c.text;
        EXPECT_EQ(Readable(Trace()), c.trace) << c.text;
    }
    // Without audio nothing is shown and no level is set.
    sim->State().audioAvailable = false;
    for (auto [text, request] : {std::pair{"音量调到最小", -200}, {"音量调到30", 30}}) {
        sim->ClearTrace();
        EXPECT_TRUE(engine.AdjustVolume(Wide(text)));
        EXPECT_EQ(Readable(Trace()), (Lines{Vol(request, false, -1), Vol(0, true, -1)})) << text;
    }
}

TEST_F(VolumeBrightnessTest, BrightnessStepsFromTheKnownLevelElseTheDisplaysAndStoresOnlyWhatWasSet) {
    // The sim's display takes the library's scale, 0..255, and starts at 128; -1: it takes no
    // brightness commands. A stored level below 0 is no level: the display is asked.
    EXPECT_EQ(sim->State().brightness, 128);
    const auto set = [](int level, int result) {
        return "CEnvironmentMonitor::SetBrightness(" + std::to_string(level) + ") -> " + std::to_string(result);
    };
    const auto get = [](int result) { return "CEnvironmentMonitor::GetBrightness() -> " + std::to_string(result); };
    const struct { const char* text; int stored; int display; Lines trace; int storedAfter; } cases[] = {
        {"屏幕太黑了", 100, 77, {set(115, 115)}, 115}, {"亮度调高", 240, 77, {set(255, 255)}, 255},
        // The display never gets a level off its scale.
        {"屏幕太黑了", 250, 77, {set(255, 255)}, 255}, {"亮度调低", 255, 77, {set(240, 240)}, 240},
        {"屏幕太亮了", 10, 77, {set(0, 0)}, 0}, {"亮度最小", 60, 77, {set(0, 0)}, 0},
        {"屏幕最亮", 60, 77, {set(255, 255)}, 255}, {"默认亮度", 60, 77, {set(128, 128)}, 128},
        {"亮度调高", INT_MAX, 77, {set(255, 255)}, 255},
        // Unknown: one step from the display's own level, not from -1.
        {"亮度调高", -1, 100, {get(100), set(115, 115)}, 115}, {"暗一点", INT_MIN, 77, {get(77), set(62, 62)}, 62},
        // Unreadable: from the normal level. A failed change is never stored.
        {"亮度调高", -1, -1, {get(-1), set(143, -1)}, -1}, {"亮度调低", 60, -1, {set(45, -1)}, 60},
        {"默认亮度", -1, -1, {set(128, -1)}, -1},
        {"亮度调高一点", 60, 77, {}, 60}, {"", 60, 77, {}, 60},
    };
    for (const auto& c : cases) {
        sim->ClearTrace();
        sim->State().brightness = c.display;
        CPreferences::Data()->SetCurrentBrightness(c.stored);
        EXPECT_EQ(engine.AdjustBrightness(Gbk(c.text)), !c.trace.empty()) << c.text;
        EXPECT_EQ(Readable(Trace()), c.trace) << c.text;
        EXPECT_EQ(CPreferences::Data()->GetCurrentBrightness(), c.storedAfter) << c.text;
        const bool changed = c.display >= 0 && !c.trace.empty();
        EXPECT_EQ(sim->State().brightness, changed ? c.storedAfter : c.display) << c.text;
    }
    sim->State().brightness = 128;
}

}  // namespace
