#include "scenes/tpp/TppWebPage.h"

#include <string_view>

#include "host/VeChar.h"
#include "host/VeUI.h"
#include "scenes/shared/ApplicationActions.h"

namespace {

bool StaysInUrl(char c) {
    static constexpr std::string_view kUrlMarks = "-._~:/?#[]@!$&'()*+,;=%";
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           kUrlMarks.find(c) != std::string_view::npos;
}

}  // namespace

std::string EscapeTppUrl(const std::string& utf8Url) {
    std::string out;
    std::string run;  // characters to encode, kept together so a multi-byte character stays whole
    for (char c : utf8Url) {
        if (!StaysInUrl(c)) {
            run += c;
            continue;
        }
        out += VeChar::Utf8_2_Urlcode(run);
        run.clear();
        out += c;
    }
    return out + VeChar::Utf8_2_Urlcode(run);
}

bool OpenTppWebPage(const std::string& gbkUrl) {
    if (!AcceptWebPage(gbkUrl)) return false;
    VeUI::VeShellExecuteA(EscapeTppUrl(VeChar::VeUnicodeChar_2_Utf8(gbkUrl)));
    return true;
}
