// The packer's own way out for the library's warnings (a table it could not read): standard
// error, without the library's backend, which this small build does not have.
#include "platform/Diagnostic.h"

#include <cstdio>

#include "platform/TextCodec.h"

namespace vediag {

void Report(Level, std::u16string_view message) {
    std::fprintf(stderr, "vescene-pack: %s\n", textcodec::Utf16ToUtf8(message).c_str());
}

}  // namespace vediag
