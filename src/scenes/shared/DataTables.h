#pragma once
// Key-value tables of the installation, read through the host's decryption service on first
// use. Keys and values are GBK.
#include <map>
#include <string>

const std::map<std::string, std::string>& GetSoftDownloadTable();
// City name to the local-life site's short name (the first label of the city's own host).
const std::map<std::string, std::string>& GetRegionAbbreviationTable();
// City or station name to the railway's station telecode.
const std::map<std::string, std::string>& GetStationTable();
// Place name to the hotel site's city path name (pinyin).
const std::map<std::string, std::string>& GetHotelRegionTable();
