#include "scenes/online/NoltMessageScene.h"

#include "host/VeUI.h"
#include "scenes/shared/ApplicationActions.h"

void NoltMessageScene::Parse(VeJson& doc) { m_stdMessage = doc.Get("message"); }

int NoltMessageScene::OpenMessageUrl() {
    if (!AcceptWebPage(m_stdMessage)) {
        m_logType = LogType_NotCarriedOut;
        return 0;
    }
    VeUI::VeShellExecuteA(m_stdMessage);
    return 1;
}

std::string NoltEntity(const VeJson& doc, const char* name) {
    return doc.GetBrotherLeaf("content^entities^entity", name, "content^entities^value", 2);
}
