#include "platform/Diagnostic.h"

#include <string>

#include "platform/Win32Api.h"

namespace vediag {

void Report(Level, std::u16string_view message) {
    std::u16string line = u"VeScene: ";
    line.append(message);
    vewin::OutputDebugStringW(line.c_str());
}

}  // namespace vediag
