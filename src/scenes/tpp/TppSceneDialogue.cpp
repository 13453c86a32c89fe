#include "scenes/tpp/TppSceneDialogue.h"

#include "host/VeChar.h"
#include "scenes/shared/AnswerWindow.h"
#include "scenes/tpp/TppSceneDeclined.h"

void TppSceneDialogue::Parse(VeJson& doc) {
    m_stdContent = doc.Get("content");
    const std::string scene = doc.Get("scene");
    if (scene == "translation")
        m_logType = LogType_Translation;
    else if (scene == "joke")
        m_logType = LogType_Joke;
    else
        m_logType = LogType_Answer;
}

int TppSceneDialogue::Execute() {
    if (m_stdContent.empty()) return DeclineTppScene(m_logType);
    // The engine writes a line break as a backslash and an n. Replaced in the wide text: in
    // GBK a backslash byte can be the second half of a character.
    CString answer = VeChar::VeUnicodeChar_2_CString(m_stdContent);
    answer.Replace(u"\\n", u"\n");
    ShowAnswer(m_stdText, VeChar::VeCString2string(answer));
    return 1;
}
