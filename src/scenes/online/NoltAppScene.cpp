#include "scenes/online/NoltAppScene.h"

#include "host/VeChar.h"
#include "local/SystemCommand.h"
#include "scenes/shared/ApplicationActions.h"

void NoltAppScene::Parse(VeJson& doc) {
    NoltMessageScene::Parse(doc);
    m_stdApp = NoltEntity(doc, "app");
    m_stdAction = NoltEntity(doc, "action");
}

bool NoltAppScene::RunActionOrMessage() {
    // Only an uninstall, a download (of the table's page) or a close of a named program; an open
    // and a reply without an action are left to the message and the caller's steps.
    if (RunApplicationAction(m_stdAction, m_stdApp, m_logType, m_hIcon, {.startInstalled = false, .open = false}))
        return true;
    return !m_stdMessage.empty() &&
           RunSystemCommand(VeChar::VeUnicodeChar_2_CString(m_stdMessage), m_logType, m_hIcon);
}
