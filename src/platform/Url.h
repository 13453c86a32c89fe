#pragma once
// Every URL the library opens is made here. A page of ours starts from an endpoint (scheme,
// host and fixed path from the endpoint table or a configured endpoint) and each piece of text
// after it is encoded for its place, so no text can choose the host or end the address. A URL
// taken whole from outside (a reply, a recognition result) is parsed and written anew.
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"

namespace weburl {

class Url {
public:
    // An endpoint: a constant of the endpoint table, a row built from them, or vehttp::Endpoint.
    explicit Url(std::string_view endpoint) : m_url(endpoint) {}

    // A fixed part of the page's address, written in the code ("&enc=utf-8", ".html").
    Url& Fixed(std::string_view part);
    // Text in its UTF-8 form with every byte but the unreserved ones encoded: fits any place.
    Url& Text(std::string_view gbkText);
    Url& Text(std::u16string_view text);
    Url& TextUtf8(std::string_view utf8Text);
    // Text as it stands, for the sites that read GBK bytes (and for ASCII codes): only the
    // ASCII characters the place cannot hold are encoded.
    Url& Raw(std::string_view text, textcodec::UrlPlace place);
    // A piece a site's own encoder made (all %XX): anything else in it is encoded as well.
    Url& Encoded(std::string_view piece);

    const std::string& str() const { return m_url; }
    operator const std::string&() const { return m_url; }

private:
    std::string m_url;
};

// A site's host for one of its cities ("http://" + label + domain, domain ".site.com"); none
// when the label is not a single host-name label (letters, digits, inner hyphens).
std::optional<Url> Subdomain(std::string_view scheme, std::string_view label, std::string_view domain);

// A URL taken whole from outside, UTF-8: http or https (any case), a host name, an IPv4 or a
// bracketed IPv6 address, an optional port, no user part. The rest is kept with every character
// a URL cannot hold (blanks, quotes, control characters, non-ASCII, a '%' that escapes nothing)
// percent-encoded in its UTF-8 form. None when it does not parse.
std::optional<std::string> ParseWebUrl(std::string_view utf8Url);

// The page a reply or a result names, in GBK as the scenes hold it, ready to open; a text that
// is no web address is refused with a warning: the shell would run it.
std::optional<std::string> WebPageFromGbk(std::string_view gbkUrl);

}  // namespace weburl
