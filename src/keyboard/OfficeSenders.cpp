#include "keyboard/OfficeSenders.h"

#include "host/CUtil.h"
#include "host/VeChar.h"
#include "keyboard/KeyPlayer.h"
#include "keyboard/OfficeGrammar.h"
#include "platform/Win32Api.h"

namespace {

// Slide-show keys spoken in normal mode: a pause before each press lets the show keep up.
constexpr vewin::DWORD kSlideShowPressDelayMs = 40;

bool Play(const std::vector<std::string>& keys, const KeyTokenHook& beforeToken = {}) {
    if (keys.empty()) return false;
    PlayKeySequence(keys, 0, beforeToken);
    return true;
}

}  // namespace

bool SendOfficeKeys(const std::string& text) { return Play(FindKeysByEquality(OfficeTable(), text)); }

bool SendWordKeys(const std::string& text) {
    if (SendOfficeKeys(text)) return true;
    return Play(FindKeysByEquality(WordTable(), text), [](const std::string& token) {
        vewin::OutputDebugStringW(VeChar::Vestring2wstring(token).c_str());
    });
}

bool SendPPtKeys(const std::string& text) {
    if (SendOfficeKeys(text)) return true;
    std::vector<std::string> keys;
    FindPPtKeys(text, keys);
    return Play(keys);
}

bool SendExcelKeys(const std::string& text) {
    if (SendOfficeKeys(text)) return true;
    return Play(FindKeysByEquality(ExcelTable(), text));
}

int SendOutPPtKeys(const std::string& text) {
    auto keys = FindKeysByContainment(OutPptTable(), text);
    if (keys.empty()) return OutPpt_NoCommand;
    if (!CurrentWnd::IsPPtSlideShow()) return OutPpt_NoSlideShow;
    PlayKeySequence(keys, kSlideShowPressDelayMs);
    return OutPpt_Sent;
}
