#pragma once
// Search a keyword on a named site, or open its home page. Site names and keywords are GBK.
#include <map>
#include <string>

// Site name -> search URL prefix; built once, never changed.
const std::map<std::string, std::string>& SearchSiteTable();

void SearchOnSite(std::string keyword, std::string site, std::string fallbackSite);
void OpenSiteHome(std::string site, std::string fallbackSite);
