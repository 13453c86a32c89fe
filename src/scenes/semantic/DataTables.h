#pragma once
// Key-value tables of the installation, read through the host's decryption service on first
// use. Keys and values are GBK.
#include <map>
#include <string>

const std::map<std::string, std::string>& GetSoftDownloadTable();
const std::map<std::string, std::string>& GetRegionAbbreviationTable();
