#pragma once
// The virtual keys the fixed commands press (the grammars name theirs through the key table).
#include "platform/WinTypes.h"

namespace vk {
using vewin::BYTE;
constexpr BYTE kTab = 0x09;
constexpr BYTE kEnter = 0x0D;
constexpr BYTE kShift = 0x10;
constexpr BYTE kCtrl = 0x11;
constexpr BYTE kAlt = 0x12;
constexpr BYTE kSpace = 0x20;
constexpr BYTE kDelete = 0x2E;
constexpr BYTE kKeyD = 0x44;
constexpr BYTE kWindows = 0x5B;
constexpr BYTE kF3 = 0x72;
constexpr BYTE kF4 = 0x73;
constexpr BYTE kF5 = 0x74;
constexpr BYTE kF10 = 0x79;
constexpr BYTE kLeftAlt = 0xA4;
constexpr BYTE kPlayPause = 0xB3;
}  // namespace vk
