#include "scenes/online/NoltSceneLink.h"

#include "host/CUtil.h"
#include "host/VeChar.h"
#include "local/SystemCommand.h"

int NoltSceneLink::Execute() {
    if (auto verdict = RunActionOrMessage()) return *verdict;
    const bool appSaid = AppSaid();
    if (appSaid && RunSystemCommand(VeChar::VeUnicodeChar_2_CString(m_stdApp), m_logType, m_hIcon)) return 1;
    if (m_stdText.empty()) return 0;
    // The whole utterance may still name a program; the search prefers the reply's name when
    // the user said it.
    if (!RunSystemCommand(VeChar::VeUnicodeChar_2_CString(m_stdText), m_logType, m_hIcon))
        CUtil::SearchInBaidu_unicode(appSaid ? m_stdApp : m_stdText);
    return 1;
}
