#include <filesystem>
#include <mutex>

#include "host/DataDirectory.h"
#include "host/HostCallbacks.h"
#include "platform/TextCodec.h"

namespace vehost {
namespace {
std::mutex g_mutex;
VeHostCallbacks g_callbacks{};
std::string g_dataDirectory;
bool g_dataDirectoryNamed = false;
// The default directory: a function pointer and its answer, resolved on first use (plain
// pointers and flags, so registering from another object's static initializer is safe).
std::string (*g_findDefault)() = nullptr;
bool g_defaultResolved = false;
std::string g_defaultDirectory;
}  // namespace

VeHostCallbacks Callbacks() {
    std::lock_guard lock(g_mutex);
    return g_callbacks;
}

void SetCallbacks(const VeHostCallbacks* callbacks) {
    std::lock_guard lock(g_mutex);
    g_callbacks = callbacks ? *callbacks : VeHostCallbacks{};
}

void SetDataDirectory(std::string utf8Directory) {
    std::lock_guard lock(g_mutex);
    g_dataDirectory = std::move(utf8Directory);
    g_dataDirectoryNamed = true;
}

void SetDefaultDataDirectory(std::string (*find)()) {
    std::lock_guard lock(g_mutex);
    g_findDefault = find;
    g_defaultResolved = false;
}

std::string DataPath(const std::string& fileName) {
    std::lock_guard lock(g_mutex);
    if (!g_dataDirectoryNamed && !g_defaultResolved) {
        g_defaultDirectory = g_findDefault ? g_findDefault() : std::string();
        g_defaultResolved = true;
    }
    const std::string& directory = g_dataDirectoryNamed ? g_dataDirectory : g_defaultDirectory;
    if (directory.empty()) return fileName;
    char last = directory.back();
    return directory + (last == '/' || last == '\\' ? "" : "/") + fileName;
}

std::u16string MissingData(const std::string& utf8Directory) {
    // What the build puts in the data directory (cmake/data.cmake).
    static constexpr const char* kDataFiles[] = {
        "softdownload.grm", "chinareabbreviation.clx", "veovie.clx", "veusic.clx", "addressabbreviation12306.ve",
        "chinareaddress.clx", "officectrl.grm", "officectrloutppt.grm", "notanalysiswords.nolt",
    };
    namespace fs = std::filesystem;
    const std::u8string u8Directory(utf8Directory.begin(), utf8Directory.end());
    const fs::path directory = u8Directory.empty() ? fs::path(".") : fs::path(u8Directory);
    std::error_code error;
    const std::u16string shown = textcodec::Utf8ToUtf16(utf8Directory.empty() ? "." : utf8Directory);
    if (!fs::is_directory(directory, error)) return u"the data directory " + shown + u" does not exist";
    for (const char* name : kDataFiles)
        if (!fs::is_regular_file(directory / name, error))
            return u"the data directory " + shown + u" lacks " + textcodec::Utf8ToUtf16(name);
    return {};
}
}  // namespace vehost
