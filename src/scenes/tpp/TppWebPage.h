#pragma once
// Opening the page a TPP result names (GBK), as the URL and fill-URL scenes do.
#include <string>

// The URL with every character a URL cannot hold (non-ASCII, blanks, quotes, control
// characters) percent-encoded in its UTF-8 form; delimiters and escapes already there stay,
// so the address keeps its shape.
std::string EscapeTppUrl(const std::string& utf8Url);

// Opens the escaped page. Anything but an http or https URL is refused (false).
bool OpenTppWebPage(const std::string& gbkUrl);
