// GBK conversions through iconv, one pair of descriptors per thread.
#include <cerrno>
#include <iconv.h>

#include "platform/TextCodec.h"

namespace textcodec::detail {
namespace {

class IconvDescriptor {
public:
    IconvDescriptor(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvDescriptor() {
        if (Ok()) iconv_close(m_cd);
    }
    IconvDescriptor(const IconvDescriptor&) = delete;
    IconvDescriptor& operator=(const IconvDescriptor&) = delete;
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Converts `in` (units of `inUnit` bytes) and calls `onBad` for each unit run that has no
// mapping; `onBad` returns how many input bytes to skip.
template <typename Out, typename OnBad>
Out Run(const IconvDescriptor& cd, const char* in, size_t inBytes, OnBad onBad) {
    Out out;
    if (!cd.Ok()) return out;
    iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
    using Unit = typename Out::value_type;
    char buffer[1024];
    char* inPtr = const_cast<char*>(in);
    size_t inLeft = inBytes;
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd.Get(), &inPtr, &inLeft, &outPtr, &outLeft);
        size_t produced = sizeof buffer - outLeft;
        out.append(reinterpret_cast<const Unit*>(buffer), produced / sizeof(Unit));
        if (rc != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: replace the character iconv stopped at.
        size_t skip = onBad(inPtr, inLeft, out);
        inPtr += skip;
        inLeft -= skip;
        iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace

std::u16string OsGbkToUtf16(std::string_view gbk) {
    thread_local IconvDescriptor cd("UTF-16LE", "GBK");
    return Run<std::u16string>(cd, gbk.data(), gbk.size(),
                               [](const char* at, size_t left, std::u16string& out) {
                                   out += u'?';
                                   return std::min(left, GbkCharLength(std::string_view(at, left), 0) == 2 ? size_t{2} : size_t{1});
                               });
}

std::string OsUtf16ToGbk(std::u16string_view utf16) {
    thread_local IconvDescriptor cd("GBK", "UTF-16LE");
    return Run<std::string>(cd, reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2,
                            [](const char*, size_t left, std::string& out) {
                                out += '?';
                                return std::min(left, size_t{2});
                            });
}

}  // namespace textcodec::detail
