#include "platform/DataFile.h"
#include "platform/TextCodec.h"
#include "platform/win32/Win32Support.h"

namespace vefile {

FileRead ReadRegularFile(const std::string& utf8Path, std::uint64_t maxBytes, std::string& bytes) {
    using namespace vewin32;
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open; GetFileType refuses the
    // devices and pipes a path such as \\.\CON or \\.\pipe\x names.
    const std::u16string path = textcodec::Utf8ToUtf16(utf8Path);
    UniqueFile file(::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD attributes = ::GetFileAttributesW(W(path));
        const bool directory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        return directory ? FileRead::notRegular : FileRead::missing;
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return FileRead::notRegular;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return FileRead::missing;
    if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) return FileRead::tooLarge;

    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() && !::ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr))
        return FileRead::missing;
    content.resize(read);
    bytes = std::move(content);
    return FileRead::ok;
}

}  // namespace vefile
