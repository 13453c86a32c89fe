#include "scenes/shared/PenCommands.h"

#include "host/VeChar.h"
#include "local/LocalCommandEngine.h"
#include "local/SystemCommand.h"
#include "scenes/shared/CSiteSearch.h"

void ReadLaserControl(const VeJson& doc, const std::string& gbkText, std::string& command) {
    if (!command.empty()) return;
    command = doc.GetBrotherLeaf("semantic^slots^name", "Laser_control", "semantic^slots^normValue", 2);
    if (command.empty()) command = gbkText;
}

int RunNormalCommand(const std::string& gbkCommand, LogType& logType, vewin::HICON& icon) {
    LocalCommandEngine engine;
    return engine.ExecuteNormalCommand(VeChar::VeUnicodeChar_2_CString(gbkCommand), logType, icon) ? 1 : 0;
}

int RunSlideShowCommand(const std::string& gbkCommand, LogType& logType, vewin::HICON& icon) {
    LocalCommandEngine engine;
    return engine.ExecuteSlideShowCommand(gbkCommand, logType, icon) ? 1 : 0;
}

CString WithoutOpenWord(const std::string& gbkText) {
    CString text = VeChar::VeUnicodeChar_2_CString(gbkText);
    const CString open = VeChar::VeUnicodeChar_2_CString(GBK("打开"));
    if (text.GetLength() > 2 && text.Left(2) == open) return text.Right(text.GetLength() - 2);
    return text;
}

bool OpenSiteOrSystemCommand(const CString& text, LogType& logType, vewin::HICON& icon) {
    CSiteSearch site;
    if (site.ParseSiteText(text)) return site.OpenSite(logType);
    return RunSystemCommand(text, logType, icon);
}
