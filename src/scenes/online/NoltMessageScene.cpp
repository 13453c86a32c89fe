#include "scenes/online/NoltMessageScene.h"

#include "host/HttpConfig.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "platform/Win32Api.h"

void NoltMessageScene::Parse(VeJson& doc) { m_stdMessage = doc.Get("message"); }

int NoltMessageScene::OpenMessageUrl() {
    if (!vehttp::IsHttpUrl(m_stdMessage)) {
        const std::u16string note = u"NoltScene: refused to open a reply that is no web address: " +
                                    VeChar::Vestring2wstring(m_stdMessage);
        vewin::OutputDebugStringW(note.c_str());
        m_logType = LogType_NotCarriedOut;
        return 0;
    }
    VeUI::VeShellExecuteA(m_stdMessage);
    return 1;
}

std::string NoltEntity(const VeJson& doc, const char* name) {
    return doc.GetBrotherLeaf("content^entities^entity", name, "content^entities^value", 2);
}
