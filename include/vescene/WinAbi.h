#pragma once
// The two pieces of the Windows ABI the public headers need (the thread procedure's calling
// convention and DWORD), without <windows.h>.
#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#  define VESCENE_WINAPI __attribute__((__stdcall__))
#elif defined(_WIN32) && defined(_M_IX86)
#  define VESCENE_WINAPI __stdcall
#else
#  define VESCENE_WINAPI
#endif

namespace vewin {
#if defined(_WIN32)
using DWORD = unsigned long;  // 32 bits on Windows
#else
using DWORD = std::uint32_t;
#endif
}  // namespace vewin
