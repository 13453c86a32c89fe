#include "keyboard/KeyPlayer.h"

#include "host/VeChar.h"
#include "platform/Win32Api.h"

namespace {

using namespace vewin;

constexpr int kJoin = -1;
constexpr int kNextChord = -2;
constexpr DWORD kChordHoldMs = 50;

// Two keyboard records for one UTF-16 unit (press, release), rewritten before every
// character; and two empty mouse records sent around it.
INPUT s_keyInputs[2] = {};
const INPUT s_blankInputs[2] = {};

// Only the low 8 bits of a key reach Windows; the scan code comes from the whole value.
void Send(int key, DWORD flags) {
    auto scan = static_cast<BYTE>(MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
    keybd_event(static_cast<BYTE>(key), scan, flags, 0);
}

void Press(int key) { Send(key, 0); }
void Release(int key) { Send(key, KEYEVENTF_KEYUP); }

void ReleaseAll(std::vector<int>& held) {
    for (int key : held) Release(key);
    held.clear();
}

}  // namespace

int TyUtil::MapKeyStr2Int(std::string name) {
    static const struct {
        const char* utf8Name;
        int key;
    } kNames[] = {
        {"+", kJoin},      {",", kNextChord},  {"↑", 0x26},       {"↓", 0x28},     {"←", 0x25},
        {"→", 0x27},       {"[", 0xDB},        {"]", 0xDD},       {"ALT", 0x12},   {"CTRL", 0x11},
        {"SHIFT", 0x10},   {"RETURN", 0x0D},   {"PAGEDOWN", 0x22}, {"PAGEUP", 0x21}, {"ESCAPE", 0x1B},
        {"ENTER", 0x0D},   {"F12", 0x7B},      {"F11", 0x7A},     {"F10", 0x79},   {"F9", 0x78},
        {"F8", 0x77},      {"F7", 0x76},       {"F6", 0x75},      {"F5", 0x74},    {"F4", 0x73},
        {"F3", 0x72},      {"F2", 0x71},       {"F1", 0x70},      {"HOME", 0x24},  {"END", 0x23},
        {"TAB", 0x09},
    };
    // The arrows are compared as the GBK bytes a grammar file holds.
    static const std::vector<std::pair<std::string, int>> table = [] {
        std::vector<std::pair<std::string, int>> gbk;
        for (const auto& entry : kNames) gbk.emplace_back(VeChar::VeUtf8_2_UnicodeChar(entry.utf8Name), entry.key);
        return gbk;
    }();
    for (const auto& [keyName, key] : table)
        if (name == keyName) return key;
    return name.empty() ? 0 : static_cast<int>(static_cast<signed char>(name[0]));
}

void PlayKeySequence(const std::vector<std::string>& tokens, DWORD pressDelay, const KeyTokenHook& beforeToken) {
    std::vector<int> held;
    for (const auto& token : tokens) {
        if (beforeToken) beforeToken(token);
        if (!token.empty() && token[0] == '#') {
            TypeText(VeChar::VeUnicodeChar_2_CString(token.substr(1)));
            continue;
        }
        int key = TyUtil::MapKeyStr2Int(token);
        if (key == kNextChord) {
            Sleep(kChordHoldMs);
            ReleaseAll(held);
        } else if (key != kJoin) {
            if (pressDelay != 0) Sleep(pressDelay);
            Press(key);
            held.push_back(key);
        }
    }
    Sleep(kChordHoldMs);
    ReleaseAll(held);
}

void TypeText(CString text) {
    for (char16_t unit : text.str()) TypeChar(unit);
}

void TypeChar(char16_t unit) {
    for (int i = 0; i < 2; ++i) {
        s_keyInputs[i].type = INPUT_KEYBOARD;
        s_keyInputs[i].ki.wVk = 0;
        s_keyInputs[i].ki.wScan = unit;
        s_keyInputs[i].ki.dwFlags = i == 0 ? KEYEVENTF_UNICODE : KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    }
    // Sentence punctuation gets an empty event before it as well, so that input methods
    // that buffer a preceding character commit it first.
    const bool punctuation = unit == u'.' || unit == u'?' || unit == u'!' || unit == u',';
    if (punctuation) SendInput(2, s_blankInputs, sizeof(INPUT));
    SendInput(2, s_keyInputs, sizeof(INPUT));
    SendInput(2, s_blankInputs, sizeof(INPUT));
    if (!punctuation) SendInput(2, s_blankInputs, sizeof(INPUT));
}

void TapMediaKey(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), KEYEVENTF_KEYUP, 0);
}
