#pragma once
// Where the installation's data files are read from: the working directory unless the host
// or the command line names another.
#include <string>

namespace vehost {
void SetDataDirectory(std::string utf8Directory);
// The path of a data file given by its bare name.
std::string DataPath(const std::string& fileName);
}  // namespace vehost
