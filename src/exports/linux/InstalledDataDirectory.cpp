// Part of the Linux library (libVeScene.so) only, not of its layers: until the host names a data
// directory, the library reads the tables of the installation it belongs to, found from where
// the library itself lies (<libdir>/VESCENE_DATA_FROM_LIBDIR, e.g. lib/../share/vescene/data),
// so an installed tree works wherever its prefix is. A library that is not installed (the build
// tree's) finds no such directory and keeps the working directory.
#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "host/DataDirectory.h"

namespace {

std::string FindInstalledDataDirectory() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<const void*>(&FindInstalledDataDirectory), &info) || !info.dli_fname) return {};
    std::error_code error;
    const std::filesystem::path library = std::filesystem::canonical(info.dli_fname, error);
    if (error) return {};
    const std::filesystem::path data = (library.parent_path() / VESCENE_DATA_FROM_LIBDIR).lexically_normal();
    if (!std::filesystem::is_directory(data, error)) return {};
    return data.string();
}

[[maybe_unused]] const bool registered = (vehost::SetDefaultDataDirectory(&FindInstalledDataDirectory), true);

}  // namespace
