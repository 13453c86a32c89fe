#include "scenes/online/NoltMessageScene.h"

#include "host/VeUI.h"
#include "platform/Url.h"

void NoltMessageScene::Parse(VeJson& doc) { m_stdMessage = doc.Get("message"); }

int NoltMessageScene::OpenMessageUrl() {
    const auto page = weburl::WebPageFromGbk(m_stdMessage);
    if (!page) {
        m_logType = LogType_NotCarriedOut;
        return 0;
    }
    VeUI::VeShellExecuteA(*page);
    return 1;
}

std::string NoltEntity(const VeJson& doc, const char* name) {
    return doc.GetBrotherLeaf("content^entities^entity", name, "content^entities^value", 2);
}
