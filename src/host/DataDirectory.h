#pragma once
// Where the installation's data files are read from: the directory the host or the command line
// names; until one is named, the default directory (the installed library's data directory, on
// Linux), else the working directory.
#include <string>

namespace vehost {
// Names the data directory; "" is the working directory.
void SetDataDirectory(std::string utf8Directory);
// The default until SetDataDirectory is called: `find` runs once, on the first lookup, and its
// answer ("" for none: the working directory) stands. Only the Linux library installs one.
void SetDefaultDataDirectory(std::string (*find)());
// The path of a data file given by its bare name.
std::string DataPath(const std::string& fileName);
// What a data directory lacks: "" when it exists and holds every data file the library reads,
// else a message naming the directory or the first missing file.
std::u16string MissingData(const std::string& utf8Directory);
}  // namespace vehost
