#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/UniqueAny.h"
#include "platform/DataFile.h"

namespace vefile {
namespace {
struct FdTraits {
    using type = int;
    static type invalid() noexcept { return -1; }
    static bool is_valid(type fd) noexcept { return fd >= 0; }
    static void close(type fd) noexcept { ::close(fd); }
};
using UniqueFd = vecore::UniqueAny<FdTraits>;
}  // namespace

FileRead ReadRegularFile(const std::string& utf8Path, std::uint64_t maxBytes, std::string& bytes) {
    // O_NONBLOCK: opening a pipe must not wait for a writer before fstat can refuse it.
    UniqueFd fd(::open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) return FileRead::missing;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return FileRead::missing;
    if (!S_ISREG(info.st_mode)) return FileRead::notRegular;
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) return FileRead::tooLarge;

    // Read to the end rather than to st_size: a file that grows meanwhile still stops at the cap.
    std::string content(static_cast<size_t>(info.st_size), '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == content.size()) {
            if (content.size() > maxBytes) return FileRead::tooLarge;
            content.resize(content.size() + 4096);
        }
        const ssize_t got = ::read(fd.get(), content.data() + filled, content.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return FileRead::missing;
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    if (filled > maxBytes) return FileRead::tooLarge;
    content.resize(filled);
    bytes = std::move(content);
    return FileRead::ok;
}

}  // namespace vefile
