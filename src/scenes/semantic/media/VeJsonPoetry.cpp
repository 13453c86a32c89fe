#include "scenes/semantic/media/VeJsonPoetry.h"

#include <algorithm>

#include "host/VeChar.h"
#include "host/VeUI.h"

void VeJsonPoetry::Parse(VeJson& doc) {
    doc.GetNodeTextVector("data^result^title", m_vecTitles);
    doc.GetNodeTextVector("data^result^dynasty", m_vecDynasties);
    doc.GetNodeTextVector("data^result^author", m_vecAuthors);
    doc.GetNodeTextVector("data^result^content", m_vecPoemContents);
    if (!m_vecTitles.empty()) return;
    const std::string answer = doc.Get("answer^text");
    m_vecTitles.push_back(answer.empty() ? GBK("Sorry, 没有找到相关诗词！") : answer);
}

int VeJsonPoetry::Execute() {
    const size_t n = std::min({m_vecTitles.size(), m_vecDynasties.size(), m_vecAuthors.size(), m_vecPoemContents.size()});
    if (n == 0) {
        if (!m_vecTitles.empty())  // holds the answer text once parsed
            VeUI::InteractiveSet(VeChar::VeUnicodeChar_2_CString(m_vecTitles.back()), VeInteractive_Answer);
        return 1;
    }
    VeUI::Tray_2(VeChar::VeUnicodeChar_2_CString(m_stdText));
    for (size_t i = 0; i < n; ++i) {
        m_stdTitleLine = GBK("题目：") + m_vecTitles[i] + "\n";
        m_stdAuthorLine = GBK("作者：") + m_vecDynasties[i] + "  ";
        m_stdNameLine = m_vecAuthors[i] + "\n";
        m_stdContentLine = GBK("内容：") + m_vecPoemContents[i];
        const std::string poem = m_stdTitleLine + m_stdAuthorLine + m_stdNameLine + m_stdContentLine;
        VeUI::InteractiveSet(VeChar::VeUnicodeChar_2_CString(poem), VeInteractive_Answer);
    }
    return 1;
}
