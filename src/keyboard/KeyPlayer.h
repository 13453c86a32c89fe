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

// One tap of a media key as the media scenes send it: down with no scan code, up with the
// key's scan code.
void TapMediaKey(vewin::BYTE vk);
