#include "keyboard/KeyPlayer.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "host/VeChar.h"
#include "host/VeUI.h"
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

// The keys of the extended set: their scan codes carry an E0 prefix, which keybd_event takes as
// KEYEVENTF_EXTENDEDKEY. Without it the scan code names another key (Left is Numpad 4, Page
// Down Numpad 3, Play/Pause G) to every program that reads scan codes.
bool IsExtended(BYTE vk) {
    return (vk >= 0x21 && vk <= 0x28) ||  // Page Up, Page Down, End, Home, the arrows
           vk == 0x2C || vk == 0x2D || vk == 0x2E ||  // Print Screen, Insert, Delete
           (vk >= 0x5B && vk <= 0x5D) ||  // the Windows keys, Applications
           vk == 0x6F || vk == 0x90 ||    // numpad Divide, Num Lock
           vk == 0xA3 || vk == 0xA5 ||    // right Ctrl, right Alt
           (vk >= 0xA6 && vk <= 0xB7);    // browser, volume, media and launch keys
}

// Only the low 8 bits of a key reach Windows; the scan code comes from the whole value.
void Send(int key, DWORD flags) {
    const auto vk = static_cast<BYTE>(key);
    auto scan = static_cast<BYTE>(MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
    keybd_event(vk, scan, flags | (IsExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0), 0);
}

// What the current command on this thread has done with the input (see InputScope). Trivially
// destructible: a thread-local with a destructor would keep the library loaded for as long as
// the host's thread lives (mingw's runtime holds a reference for each such thread).
struct InputState {
    int depth = 0;
    bool checked = false;
    bool blocked = false;
    std::array<int, 64> held{};  // pressed and not yet released, in order; a chord is a few keys
    std::size_t count = 0;
};
thread_local InputState t_input;

// Windows drops input sent to a window of a higher integrity level than the sender's (UIPI),
// without an error to see: an administrator's console, Task Manager, the registry editor.
bool ForegroundRunsHigher() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(foreground, &pid);
    const DWORD own = GetCurrentProcessId();
    if (pid == 0 || pid == own) return false;
    const DWORD theirs = GetProcessIntegrityLevel(pid);
    return theirs != 0 && theirs > GetProcessIntegrityLevel(own);
}

void ReleaseAll(std::vector<int>& held) {
    for (int key : held) KeyUp(key);
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

InputScope::InputScope() {
    if (t_input.depth == 0) t_input = InputState{};
    ++t_input.depth;
}

InputScope::~InputScope() {
    if (t_input.depth == 1) {  // whatever way the command ended, nothing stays held
        std::vector<int> held(t_input.held.begin(), t_input.held.begin() + static_cast<std::ptrdiff_t>(t_input.count));
        t_input.count = 0;
        ReleaseAll(held);
    }
    --t_input.depth;
}

bool InputScope::Blocked() const { return t_input.blocked; }

bool InputAllowed() {
    const bool ask = t_input.depth == 0 || !t_input.checked;  // outside a command, every time
    if (ask) {
        t_input.checked = t_input.depth > 0;
        const bool blocked = ForegroundRunsHigher();
        if (blocked) VeUI::Tray(u"无法向以管理员身份运行的窗口发送按键", VeTray_Show);
        if (t_input.depth == 0) return !blocked;
        t_input.blocked = blocked;
    }
    return !t_input.blocked;
}

void KeyDown(int key) {
    if (!InputAllowed()) return;
    Send(key, 0);
    if (t_input.depth > 0 && t_input.count < t_input.held.size()) t_input.held[t_input.count++] = key;
}

void KeyUp(int key) {
    if (!InputAllowed()) return;
    Send(key, KEYEVENTF_KEYUP);
    const auto end = t_input.held.begin() + static_cast<std::ptrdiff_t>(t_input.count);
    if (auto it = std::find(t_input.held.begin(), end, key); it != end) {
        std::copy(it + 1, end, it);
        --t_input.count;
    }
}

void PlayKeySequence(const std::vector<std::string>& tokens, DWORD pressDelay, const KeyTokenHook& beforeToken) {
    InputScope command;
    if (!InputAllowed()) return;
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
            KeyDown(key);
            held.push_back(key);
        }
    }
    Sleep(kChordHoldMs);
    ReleaseAll(held);
}

void TypeText(CString text) {
    InputScope command;
    for (char16_t unit : text.str()) TypeChar(unit);
}

void TypeChar(char16_t unit) {
    if (!InputAllowed()) return;
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
    InputScope command;
    KeyDown(vk);
    KeyUp(vk);
}
