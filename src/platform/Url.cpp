#include "platform/Url.h"

#include <algorithm>
#include <cctype>

#include "platform/Diagnostic.h"

namespace weburl {

namespace {

bool IsAlnum(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool IsLabel(std::string_view label) {
    return !label.empty() && label.size() <= 63 && label.front() != '-' && label.back() != '-' &&
           std::all_of(label.begin(), label.end(), [](char c) { return IsAlnum(c) || c == '-'; });
}

bool IsHostName(std::string_view host) {
    if (host.empty() || host.size() > 253) return false;
    for (size_t start = 0;;) {
        const size_t dot = host.find('.', start);
        if (!IsLabel(host.substr(start, dot - start))) return false;
        if (dot == std::string_view::npos) return true;
        start = dot + 1;
    }
}

// The value of 1 to 5 decimal digits; -1 for anything else.
int DecimalValue(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return -1;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsIpv4(std::string_view address) {
    int parts = 0;
    for (size_t start = 0;; ++parts) {
        const size_t dot = address.find('.', start);
        const std::string_view part = address.substr(start, dot - start);
        const int value = part.size() <= 3 ? DecimalValue(part) : -1;
        if (value < 0 || value > 255 || (part.size() > 1 && part.front() == '0')) return false;
        if (dot == std::string_view::npos) return parts == 3;
        start = dot + 1;
    }
}

// Eight groups of one to four hex digits, or fewer around one "::"; the last two may be IPv4.
bool IsIpv6(std::string_view address) {
    const size_t gap = address.find("::");
    if (gap != std::string_view::npos && address.find("::", gap + 1) != std::string_view::npos) return false;
    int groups = 0;
    auto countGroups = [&](std::string_view side, bool last) {
        if (side.empty()) return true;
        for (size_t start = 0;;) {
            const size_t colon = side.find(':', start);
            const std::string_view group = side.substr(start, colon - start);
            if (last && colon == std::string_view::npos && group.find('.') != std::string_view::npos) {
                groups += 2;
                return IsIpv4(group);
            }
            if (group.empty() || group.size() > 4 || !std::all_of(group.begin(), group.end(), IsHex)) return false;
            ++groups;
            if (colon == std::string_view::npos) return true;
            start = colon + 1;
        }
    };
    if (gap == std::string_view::npos) return countGroups(address, true) && groups == 8;
    return countGroups(address.substr(0, gap), false) && countGroups(address.substr(gap + 2), true) && groups < 8;
}

bool IsHost(std::string_view host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') return IsIpv6(host.substr(1, host.size() - 2));
    return IsHostName(host);
}

// 1..65535: port 0 reaches no service.
bool IsPort(std::string_view port) {
    const int number = DecimalValue(port);
    return number >= 1 && number <= 65535;
}

// The length of "http://" or "https://" in any case at the start; 0 without one.
size_t SchemeLength(std::string_view url) {
    for (std::string_view scheme : {"http://", "https://"}) {
        if (url.size() >= scheme.size() &&
            std::equal(scheme.begin(), scheme.end(), url.begin(),
                       [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
            return scheme.size();
    }
    return 0;
}

// Path, query and fragment as a URL may hold them: RFC 3986's characters less the quote and
// the brackets; one '#' at most, and '%' only where it escapes a byte.
std::string EscapeRest(std::string_view rest) {
    static constexpr std::string_view kMarks = "-._~:/?@!$&()*+,;=";
    std::string out;
    bool fragment = false;
    for (size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        bool stays = IsAlnum(c) || kMarks.find(c) != std::string_view::npos;
        if (c == '%') stays = i + 2 < rest.size() && IsHex(rest[i + 1]) && IsHex(rest[i + 2]);
        if (c == '#') {
            stays = !fragment;
            fragment = true;
        }
        out += stays ? std::string(1, c) : textcodec::PercentEncode(std::string_view(&rest[i], 1));
    }
    return out;
}

}  // namespace

Url& Url::Fixed(std::string_view part) {
    m_url += part;
    return *this;
}

Url& Url::Text(std::string_view gbkText) { return TextUtf8(textcodec::GbkToUtf8(gbkText)); }

Url& Url::Text(std::u16string_view text) { return TextUtf8(textcodec::Utf16ToUtf8(text)); }

Url& Url::TextUtf8(std::string_view utf8Text) {
    m_url += textcodec::PercentEncode(utf8Text);
    return *this;
}

Url& Url::Raw(std::string_view text, textcodec::UrlPlace place) {
    m_url += textcodec::PercentEncode(text, place, textcodec::NonAscii::gbkChars);
    return *this;
}

Url& Url::Encoded(std::string_view piece) {
    for (size_t i = 0; i < piece.size(); ++i) {
        const bool escape = piece[i] == '%' && i + 1 < piece.size() && IsHex(piece[i + 1]);
        m_url += escape ? std::string(1, '%') : textcodec::PercentEncode(piece.substr(i, 1));
    }
    return *this;
}

std::optional<Url> Subdomain(std::string_view scheme, std::string_view label, std::string_view domain) {
    if (!IsLabel(label)) return std::nullopt;
    return Url(scheme).Fixed(label).Fixed(domain);
}

std::optional<std::string> ParseWebUrl(std::string_view url) {
    const size_t start = SchemeLength(url);
    if (start == 0) return std::nullopt;
    const size_t end = std::min(url.find_first_of("/?#", start), url.size());
    std::string_view host = url.substr(start, end - start);
    // A port follows the last colon outside an IPv6 address's brackets.
    const size_t colon = host.rfind(':');
    if (colon != std::string_view::npos && host.find(']', colon) == std::string_view::npos) {
        if (!IsPort(host.substr(colon + 1))) return std::nullopt;
        host = host.substr(0, colon);
    }
    if (!IsHost(host)) return std::nullopt;
    return std::string(url.substr(0, end)) + EscapeRest(url.substr(end));
}

std::optional<std::string> WebPageFromGbk(std::string_view gbkUrl) {
    auto page = ParseWebUrl(textcodec::GbkToUtf8(gbkUrl));
    if (!page) vediag::Warn(u"refused to open a result that is no web address: " + textcodec::GbkToUtf16(gbkUrl));
    return page;
}

}  // namespace weburl
