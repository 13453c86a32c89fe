#pragma once
// The files an installed tool reads: `fromBinDir`, relative to the directory of the running
// program (e.g. ../share/vescene/data from bin/), when it exists; otherwise `buildTree`, the
// file in the build or source tree (a program run from the build tree finds no install there).
#include <filesystem>
#include <string>
#include <system_error>

inline std::string InstalledOr(const char* fromBinDir, const std::string& buildTree) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", error);
    if (error) return buildTree;
    const std::filesystem::path installed = (self.parent_path() / fromBinDir).lexically_normal();
    return std::filesystem::exists(installed, error) ? installed.string() : buildTree;
}
