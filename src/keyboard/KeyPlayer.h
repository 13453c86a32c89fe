#pragma once
// Key names to virtual keys, and synthesised key presses and typed text for the focused
// window. Key names and '#' texts are GBK.
#include <functional>
#include <string>
#include <vector>

#include "core/CString.h"
#include "platform/WinTypes.h"
#include "vescene/Export.h"

namespace TyUtil {
// The virtual key of a grammar's key name; -1 for "+", -2 for ",", and for any other unknown
// name its first byte as a signed 8-bit number (0 for an empty name).
VESCENE_API int MapKeyStr2Int(std::string name);
}  // namespace TyUtil

// Plays one command: "+" joins keys into a chord, "," releases the chord after 50 ms, a token
// starting with '#' types the rest. With a press delay every press waits that long first.
// Every key pressed is released before it returns. `beforeToken`, when set, sees each token
// just before it is played.
using KeyTokenHook = std::function<void(const std::string& token)>;
void PlayKeySequence(const std::vector<std::string>& tokens, vewin::DWORD pressDelay,
                     const KeyTokenHook& beforeToken = {});

void TypeText(CString text);
void TypeChar(char16_t unit);

// One tap of a media key.
void TapMediaKey(vewin::BYTE vk);

// One key down or up: the scan code from the keyboard layout (MapVirtualKeyW), the same both
// ways, and KEYEVENTF_EXTENDEDKEY for the keys of the extended set (the arrows, the editing
// block, the Windows keys, right Ctrl and Alt, the media keys). Only the low 8 bits of `key`
// reach Windows.
void KeyDown(int key);
void KeyUp(int key);

// One command's synthesised input on this thread. Windows drops input sent to a window of a
// higher integrity level than ours without a word (UIPI), so before the command's first key
// or click the foreground window's process is compared with ours: when it runs higher, nothing
// of the command goes out, the user is told in the result window, and Blocked() says so. Keys
// the command leaves held are released when it ends, however it ends. Scopes nest: an inner
// one is part of the outer. Without any, each key is asked about on its own, and nothing
// releases what is left held.
class InputScope {
public:
    InputScope();
    ~InputScope();
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;
    bool Blocked() const;
};
// Whether the current command's input may go out (asks Windows on its first call).
bool InputAllowed();
