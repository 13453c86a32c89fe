#include "platform/ProgramStart.h"

#include "platform/Win32Api.h"

namespace vewin {

std::u16string PathAppendW(std::u16string path, std::u16string_view more) {
    while (!more.empty() && more.front() == u'\\') more.remove_prefix(1);
    if (!path.empty() && path.back() != u'\\' && !more.empty()) path += u'\\';
    path += more;
    return path;
}

std::u16string ToolPath(ToolFolder folder, std::u16string_view file) {
    if (folder == ToolFolder::Windows) return PathAppendW(GetWindowsDirectoryW(), file);
    BOOL wow64 = FALSE_;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return PathAppendW(wow64 ? PathAppendW(GetWindowsDirectoryW(), u"Sysnative") : GetSystemDirectoryW(), file);
}

bool StartProgram(const std::u16string& path, std::u16string_view arguments) {
    std::u16string commandLine = u"\"" + path + u"\"";
    if (!arguments.empty()) commandLine.append(u" ").append(arguments);
    if (CreateProcessW(path.c_str(), commandLine.c_str())) return true;
    if (GetLastError() != ERROR_ELEVATION_REQUIRED) return false;
    const std::u16string parameters(arguments);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC;
    info.lpFile = path.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE_;
}

}  // namespace vewin
