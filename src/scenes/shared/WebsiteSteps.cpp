#include "scenes/shared/WebsiteSteps.h"

#include "host/CUtil.h"
#include "host/VeChar.h"
#include "scenes/shared/PenCommands.h"

namespace {

bool TryText(const std::string& gbkText, LogType& logType, vewin::HICON& icon) {
    return OpenSiteOrSystemCommand(VeChar::VeUnicodeChar_2_CString(gbkText), logType, icon);
}

}  // namespace

bool OpenSiteOrSearch(const std::string& gbkNormValue, const std::string& gbkValue, LogType& logType,
                      vewin::HICON& icon) {
    // A search for nothing is no answer; the caller reports the utterance unhandled instead.
    if (gbkNormValue.empty() && gbkValue.empty()) return false;
    if (TryText(gbkNormValue, logType, icon) || TryText(gbkValue, logType, icon)) return true;
    CUtil::SearchInBaidu_unicode(gbkNormValue.empty() ? gbkValue : gbkNormValue);
    return true;
}
