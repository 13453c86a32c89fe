// The host's configuration file (VeScene.host.json): any text, looked up in every table.
// Input: the name looked up (UTF-8), a line end, the file's text.
#include <algorithm>

#include "FuzzHarness.h"
#include "platform/HostConfigTable.h"
#include "platform/TextCodec.h"

namespace {
bool AsciiCaseless(const std::u16string& a, const std::u16string& b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) {
               return lower(x) == lower(y);
           });
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vefuzz::Run(data, size, [](std::string input, vesim::SimDesktop&) {
        const std::u16string name = textcodec::Utf8ToUtf16(vefuzz::TakeLine(input));
        for (const char* table : {"websites", "commands", "files", "templates"}) {
            bool malformed = false;
            vehostconfig::FindEntry(input, table, name, &AsciiCaseless, malformed);
        }
        bool malformed = false;
        vehostconfig::FindFlag(input, "understanding", malformed);
    });
}
