#include "scenes/online/NoltAppScene.h"

#include "host/VeChar.h"
#include "host/VeUI.h"
#include "local/SystemCommand.h"
#include "scenes/shared/ApplicationActions.h"

void NoltAppScene::Parse(VeJson& doc) {
    NoltMessageScene::Parse(doc);
    m_stdApp = NoltEntity(doc, "app");
    m_stdAction = NoltEntity(doc, "action");
}

bool NoltAppScene::RunActionOrMessage() {
    if (!m_stdAction.empty() && !m_stdApp.empty()) {
        switch (AppActionOf(m_stdAction)) {
        case AppAction::Uninstall:
            UninstallApplication(m_stdApp, m_logType);
            return true;
        case AppAction::Download:
            VeUI::VeShellExecuteA(SoftwareDownloadUrl(m_stdApp));
            return true;
        case AppAction::Close:
            if (CloseApplicationWindow(m_stdApp)) return true;
            break;
        case AppAction::Open:
            break;
        }
    }
    return !m_stdMessage.empty() &&
           RunSystemCommand(VeChar::VeUnicodeChar_2_CString(m_stdMessage), m_logType, m_hIcon);
}
