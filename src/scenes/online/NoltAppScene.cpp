#include "scenes/online/NoltAppScene.h"

#include "host/VeChar.h"
#include "local/SystemCommand.h"
#include "scenes/shared/ApplicationActions.h"

void NoltAppScene::Parse(VeJson& doc) {
    NoltMessageScene::Parse(doc);
    m_stdApp = NoltEntity(doc, "app");
    m_stdAction = NoltEntity(doc, "action");
}

std::optional<int> NoltAppScene::RunActionOrMessage() {
    // Only an uninstall, a download (of the table's page) or a close of a named program; an open
    // and a reply without an action are left to the message and the caller's steps.
    switch (RunApplicationAction(m_stdAction, m_stdApp, m_logType, m_hIcon,
                                 {.startInstalled = false, .open = false, .gbkUtterance = &m_stdText})) {
    case ActionOutcome::CarriedOut: return 1;
    case ActionOutcome::Declined: return 0;
    case ActionOutcome::NotApplied: break;
    }
    if (!m_stdMessage.empty() && NameSaidByUser(m_stdText, m_stdMessage) &&
        RunSystemCommand(VeChar::VeUnicodeChar_2_CString(m_stdMessage), m_logType, m_hIcon))
        return 1;
    return std::nullopt;
}

bool NoltAppScene::AppSaid() { return !m_stdApp.empty() && NameSaidByUser(m_stdText, m_stdApp); }
