#include "scenes/semantic/VeJsonApp.h"

#include "host/VeChar.h"
#include "host/VeUI.h"
#include "local/SystemCommand.h"
#include "scenes/shared/ApplicationActions.h"
#include "scenes/semantic/SemanticSlots.h"

void VeJsonApp::Parse(VeJson& doc) {
    for (const char* slot : {"application", "app"}) {
        if (m_stdAppName.empty()) m_stdAppName = SlotValue(doc, slot);
        if (m_stdAppName.empty()) m_stdAppName = SlotNormValue(doc, slot);
    }
    if (m_stdAppName.empty()) m_stdAppName = m_stdText;
    m_stdAction = SlotNormValue(doc, "action");
}

int VeJsonApp::Execute() {
    if (m_stdAppName.empty()) return 0;
    switch (AppActionOf(m_stdAction)) {
    case AppAction::Uninstall:
        UninstallApplication(m_stdAppName, m_logType);
        break;
    case AppAction::Download:
        // A program the desktop already has is started rather than downloaded again.
        if (!RunSystemCommand(VeChar::VeUnicodeChar_2_CString(m_stdAppName), m_logType, m_hIcon))
            VeUI::VeShellExecuteA(SoftwareDownloadUrl(m_stdAppName));
        break;
    case AppAction::Close:
        CloseApplicationWindow(m_stdAppName);
        break;
    case AppAction::Open:
        OpenApplicationOrSearch(m_stdAppName, m_logType, m_hIcon);
        break;
    }
    return 1;
}
