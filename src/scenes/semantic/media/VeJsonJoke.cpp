#include "scenes/semantic/media/VeJsonJoke.h"

#include "host/VeChar.h"
#include "host/VeUI.h"

void VeJsonJoke::Parse(VeJson& doc) {
    doc.GetNodeTextVector("data^result^content", m_vecContents);
    doc.GetNodeTextVector("data^result^category", m_vecCategories);
    if (!m_vecContents.empty()) return;
    const std::string answer = doc.Get("answer^text");
    m_vecContents.push_back(answer.empty() ? GBK("没有找到笑话") : answer);
}

int VeJsonJoke::Execute() {
    VeUI::Tray_2(VeChar::VeUnicodeChar_2_CString(m_stdText));
    // Categories are shown only when every joke has its own.
    const bool withCategories = m_vecContents.size() == m_vecCategories.size();
    for (size_t i = 0; i < m_vecContents.size(); ++i) {
        CString message = VeChar::VeUnicodeChar_2_CString(m_vecContents[i]);
        if (withCategories) message = VeChar::VeUnicodeChar_2_CString(m_vecCategories[i]) + u"：  " + message;
        VeUI::InteractiveSet(message, VeInteractive_Answer);
    }
    return 1;
}
