#include "scenes/tpp/TppSceneEntity.h"

#include "host/VeChar.h"
#include "scenes/shared/AnswerWindow.h"
#include "scenes/tpp/TppSceneDeclined.h"

void TppSceneEntity::Parse(VeJson& doc) {
    m_stdTitle = doc.Get("content^title");
    m_stdAuthor = doc.Get("content^author");
    m_stdContent = doc.Get("content^content");
    m_logType = doc.Get("scene") == "poetry" ? LogType_Poetry : LogType_Answer;
}

int TppSceneEntity::Execute() {
    if (m_stdTitle.empty() && m_stdAuthor.empty() && m_stdContent.empty()) return DeclineTppScene(m_logType);
    // Every label stays, empty or not, so the three lines always read the same way.
    const std::string answer = GBK("题目：") + m_stdTitle + "\n" + GBK("作者：") + m_stdAuthor + "\n" +
                               GBK("内容：") + m_stdContent;
    ShowAnswer(m_stdText, answer);
    return 1;
}
