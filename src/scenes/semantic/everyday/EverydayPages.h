#pragma once
// Pages and text pieces the everyday-service scenes share. Texts are GBK.
#include <string>
#include <string_view>

#include "platform/Url.h"

// The map's search for the place, or its home page when there is no place.
void OpenMapSearch(const std::string& place);

// The local-life site's own host of a city, from the city's short name; no trailing slash. A
// short name that is no host-name label (a slot's text taken as pinyin) gives the main site.
weburl::Url MeituanCityHost(const std::string& shortName);

// The text without its last character when that character is `last`; otherwise unchanged.
// Only whole characters count: a trail byte and the next lead byte may spell `last` too.
std::string WithoutLastChar(const std::string& text, std::string_view last);

// The text before the first `mark`, or the whole text when it has none.
std::string BeforeFirst(const std::string& text, std::string_view mark);
