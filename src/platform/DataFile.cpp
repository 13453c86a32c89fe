#include "platform/DataFile.h"

#include "platform/Diagnostic.h"
#include "platform/TextCodec.h"

namespace vefile {

std::optional<std::string> ReadDataFile(const std::string& utf8Path, std::uint64_t maxBytes) {
    std::string bytes;
    const FileRead result = ReadRegularFile(utf8Path, maxBytes, bytes);
    if (result == FileRead::ok) return bytes;
    if (result == FileRead::notRegular)
        vediag::Warn(textcodec::Utf8ToUtf16(utf8Path) + u": not a regular file, not read");
    else if (result == FileRead::tooLarge)
        vediag::Warn(textcodec::Utf8ToUtf16(utf8Path) + u": larger than " +
                     textcodec::Utf8ToUtf16(std::to_string(maxBytes)) + u" bytes, not read");
    return std::nullopt;
}

}  // namespace vefile
