#pragma once
// Opening the page a TPP result names (GBK), as the URL and fill-URL scenes do.
#include <string>

// Opens the page written anew by weburl::WebPageFromGbk; anything but an http or https URL
// with a valid host is refused (false).
bool OpenTppWebPage(const std::string& gbkUrl);
