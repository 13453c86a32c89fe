#include "local/LocalCommandEngine.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <optional>

#include "host/TextMatch.h"
#include "host/DataFactory.h"
#include "host/Environment.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "keyboard/KeyPlayer.h"
#include "keyboard/OfficeGrammar.h"
#include "keyboard/VirtualKeys.h"
#include "local/ChineseNumerals.h"
#include "local/VolumeMessage.h"
#include "platform/Win32Api.h"

namespace {

using namespace vewin;
using namespace vk;
using namespace numerals;


constexpr DWORD kSwitchPauseMs = 30;
constexpr DWORD kDesktopPauseMs = 50;
constexpr DWORD kPageKeyDelayMs = 40;
// A spoken count is only a few windows; a huge one ("一亿") must not hold the host's thread
// for days of Tab presses.
constexpr int kMaxWindowSwitches = 50;
constexpr size_t kMaxPageDigits = 5;
constexpr int kMaxPage = 99999;

constexpr int kVolumeTop = 100;
constexpr int kVolumeBottom = 0;
constexpr int kVolumeUp = 200;
constexpr int kVolumeDown = -200;
constexpr int kVolumeUnchanged = -1;

constexpr int kBrightnessStep = 15;
constexpr int kBrightnessMin = 0;
constexpr int kBrightnessMax = 255;  // the display's scale is 0..255
constexpr int kBrightnessNormal = 128;

int SaturatingAdd(int level, int delta) {
    long long sum = static_cast<long long>(level) + delta;
    if (sum > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (sum < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(sum);
}

bool IsOneOf(const std::string& text, const std::vector<std::string>& phrases) {
    for (const auto& phrase : phrases)
        if (text == phrase) return true;
    return false;
}

void Press(BYTE vk) { KeyDown(vk); }
void Release(BYTE vk) { KeyUp(vk); }

// One change of level, then unmute and set the level again (unmuting may restore an old one).
int ChangeVolume(int request) {
    int level = CEnvironmentMonitor::SetVolume(request, false);
    CEnvironmentMonitor::SetVolume(0, true);
    // -1 means nothing was set; passing it back would ask the host for level -1.
    if (level != kVolumeUnchanged) CEnvironmentMonitor::SetVolume(level, false);
    return level;
}

// Steps on towards the top or the bottom; stops as soon as a step no longer moves the level,
// so a host that never reports the limit cannot keep the thread here.
int StepToLimit(int level, int step) {
    const bool up = step > 0;
    while (level != kVolumeUnchanged && (up ? level < kVolumeTop : level > kVolumeBottom)) {
        int next = CEnvironmentMonitor::SetVolume(step, false);
        bool moved = up ? next > level : next < level;
        level = next;
        if (!moved) break;
    }
    return level;
}

// The level a step starts from: the one last set, else the display's own, else the normal one.
int CurrentBrightness() {
    int level = CPreferences::Data()->GetCurrentBrightness();
    if (level < 0) level = CEnvironmentMonitor::GetBrightness();
    return level < 0 ? kBrightnessNormal : level;
}

// A failed change (-1) is no level: the next step reads the display again.
void SetBrightnessLevel(int level) {
    const int set = CEnvironmentMonitor::SetBrightness(std::clamp(level, kBrightnessMin, kBrightnessMax));
    if (set >= 0) CPreferences::Data()->SetCurrentBrightness(set);
}

// 下一页, 上一页, 最后一页, 往后翻两页: a number there counts pages from here and names none.
// Without the grammar these must do nothing rather than jump to page 1.
bool CountsPagesFromHere(const std::string& text) {
    if (ContainsGbk(text, GBK("第"))) return false;
    for (const std::string& word : {GBK("下"), GBK("上"), GBK("前"), GBK("后")})
        if (ContainsGbk(text, word)) return true;
    return false;
}

}  // namespace

// ---------------------------------------------------------------- slide-show commands

void LocalCommandEngine::SwitchWindows(int spokenCount) {
    InputScope command;
    int count = spokenCount == 0 ? 2 : spokenCount;
    if (count < 0 || count > kMaxWindowSwitches) count = kMaxWindowSwitches;  // negative: an overflowed number
    Press(kAlt);
    Sleep(kSwitchPauseMs);
    for (int i = 0; i < count; ++i) {
        Press(kTab);
        Sleep(kSwitchPauseMs);
        Release(kTab);
    }
    Sleep(kSwitchPauseMs);
    Release(kAlt);
}

bool LocalCommandEngine::ExecuteSlideShowCommand(const std::string& text, LogType& logType, HICON& icon) {
    InputScope command;
    static const std::vector<std::string> kDesktop = {GBK("回到桌面"), GBK("返回桌面"), GBK("桌面"),
                                                      GBK("显示桌面"), GBK("我的桌面")};
    static const std::vector<std::string> kPlay = {GBK("播放"), GBK("播放视频"), GBK("播放音乐")};
    static const std::vector<std::string> kPause = {GBK("暂停"), GBK("停止"), GBK("停止播放")};

    auto succeed = [&logType] {
        logType = LogType_SlideShow;
        return true;
    };

    EnsureOfficeCtrlGrammars();
    std::vector<std::string> keys;
    FindPPtKeys(text, keys);

    CString wideText = VeChar::VeUnicodeChar_2_CString(text);
    if (CPreferences::Data()->VeOpenUserFiles(wideText, logType, icon)) return succeed();
    if (AdjustVolume(wideText)) return succeed();
    if (AdjustBrightness(text)) return succeed();

    if (IsOneOf(text, kDesktop)) {
        Press(kWindows);
        Sleep(kDesktopPauseMs);
        Press(kKeyD);
        Release(kKeyD);
        Release(kWindows);
        return succeed();
    }
    if (ContainsGbk(text, GBK("切换")) && ContainsGbk(text, GBK("窗口"))) {
        SwitchWindows(CountInText(text));
        return succeed();
    }
    if (IsOneOf(text, kPlay)) {
        Press(kTab);
        Press(kEnter);
        Release(kEnter);
        Release(kTab);
        return succeed();
    }
    if (IsOneOf(text, kPause)) {
        Press(kPlayPause);
        Release(kPlayPause);
        return succeed();
    }

    if (keys.empty() && ContainsGbk(text, GBK("页")) && !CountsPagesFromHere(text)) {
        std::string number;
        const NumberKind kind = ExtractNumber(text, number);
        if (kind != NoNumber) {
            // No deck has more pages than a few digits count; a longer number is refused, not
            // wrapped or typed key by key; nor is a page before the first.
            if (NegativeNumber(text)) return false;
            const std::optional<int> page = NumberAtMost(kind, number, kMaxPage);
            if (!page || (kind == AsciiDigits && number.size() > kMaxPageDigits)) return false;
            if (kind == ChineseNumeral) number = IntToText(*page);
            for (char c : number) keys.emplace_back(1, c);
            keys.emplace_back("ENTER");
        }
    }
    if (keys.empty()) return false;
    PlayKeySequence(keys, kPageKeyDelayMs);
    return succeed();
}

// ---------------------------------------------------------------- volume and brightness

bool LocalCommandEngine::AdjustVolume(const CString& text) {
    if (IsOneOf(text, {u"静音", u"关闭声音"})) {
        CEnvironmentMonitor::SetVolume(1, true);
        return true;
    }
    if (IsOneOf(text, {u"取消静音", u"打开声音"})) {
        CEnvironmentMonitor::SetVolume(0, true);
        return true;
    }
    if (ContainsAny(text, {u"音量", u"声音"})) {
        const bool toLimit = text.Find(u"最") >= 0;
        if (ContainsAny(text, {u"大", u"高"})) {
            int level = ChangeVolume(kVolumeUp);
            if (toLimit) level = StepToLimit(level, kVolumeUp);
            ShowVolumeLevel(level);
            return true;
        }
        if (ContainsAny(text, {u"小", u"低"})) {
            int level = ChangeVolume(kVolumeDown);
            if (toLimit) level = StepToLimit(level, kVolumeDown);
            ShowVolumeLevel(level);
            return true;
        }
    }
    if (ContainsAny(text, {u"声音调到", u"音量调到"})) {
        std::string number;
        const std::string gbkText = VeChar::VeCString2string(text);
        if (ExtractNumber(gbkText, number) != AsciiDigits || NegativeNumber(gbkText)) return false;
        // A level past the top is refused, never wrapped or clamped: the host's contract gives
        // 200 and -200 a meaning of their own.
        const std::optional<int> requested = NumberAtMost(AsciiDigits, number, kVolumeTop);
        if (!requested) return false;
        ShowVolumeLevel(ChangeVolume(*requested));
        return true;
    }
    return false;
}

bool LocalCommandEngine::AdjustBrightness(std::string text) {
    if (brightUpPhrases.empty())
        brightUpPhrases = {GBK("亮度高一些"), GBK("亮度变大"),   GBK("亮度调高"),   GBK("亮度调大"),
                           GBK("屏幕变亮"),   GBK("屏幕调亮"),   GBK("亮度变亮"),   GBK("增加亮度"),
                           GBK("亮度增加"),   GBK("变亮一点"),   GBK("更亮一点"),   GBK("调亮一点"),
                           GBK("变亮一些"),   GBK("亮一点"),     GBK("调高亮度"),   GBK("增加亮度"),
                           GBK("屏幕亮一点"), GBK("亮度强一点"), GBK("屏幕太黑了")};
    if (IsOneOf(text, brightUpPhrases)) {
        SetBrightnessLevel(SaturatingAdd(CurrentBrightness(), kBrightnessStep));
        return true;
    }
    if (brightDownPhrases.empty())
        brightDownPhrases = {GBK("亮度低一些"), GBK("亮度变小"),   GBK("亮度调低"),   GBK("亮度调小"),
                             GBK("亮度变暗"),   GBK("屏幕调暗"),   GBK("屏幕调暗"),   GBK("降低亮度"),
                             GBK("亮度降低"),   GBK("变暗一点"),   GBK("更暗一点"),   GBK("调暗一点"),
                             GBK("调暗一点"),   GBK("暗一点"),     GBK("调低亮度"),   GBK("减少亮度"),
                             GBK("屏幕暗一点"), GBK("减小亮度"),   GBK("亮度弱一点"), GBK("屏幕太亮了")};
    if (IsOneOf(text, brightDownPhrases)) {
        SetBrightnessLevel(SaturatingAdd(CurrentBrightness(), -kBrightnessStep));
        return true;
    }
    static const std::vector<std::string> kMinimum = {GBK("亮度最小"), GBK("亮度最低"), GBK("亮度最暗"),
                                                      GBK("最小亮度"), GBK("最低亮度"), GBK("屏幕最暗")};
    static const std::vector<std::string> kMaximum = {GBK("亮度最大"), GBK("亮度最高"), GBK("亮度最亮"),
                                                      GBK("最大亮度"), GBK("最高亮度"), GBK("屏幕最亮")};
    static const std::vector<std::string> kNormal = {GBK("亮度正常"), GBK("正常亮度"), GBK("常规亮度"),
                                                     GBK("恢复亮度"), GBK("亮度恢复"), GBK("默认亮度")};
    if (IsOneOf(text, kMinimum)) {
        SetBrightnessLevel(kBrightnessMin);
        return true;
    }
    if (IsOneOf(text, kMaximum)) {
        SetBrightnessLevel(kBrightnessMax);
        return true;
    }
    if (IsOneOf(text, kNormal)) {
        SetBrightnessLevel(kBrightnessNormal);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- numbers

int LocalCommandEngine::CountInText(std::string text) {
    if (text.empty()) return 0;
    std::string number;
    switch (ExtractNumber(text, number)) {
        case AsciiDigits: return DigitsToInt(number);
        case ChineseNumeral: return NumeralValue(number);
        default: return 0;
    }
}
