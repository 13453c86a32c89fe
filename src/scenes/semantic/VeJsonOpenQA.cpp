#include "scenes/semantic/VeJsonOpenQA.h"

#include "scenes/shared/AnswerWindow.h"

void VeJsonOpenQA::Parse(VeJson& doc) { m_stdAnswer = doc.Get("answer^text"); }

int VeJsonOpenQA::Execute() {
    if (m_stdAnswer.empty()) return 0;
    ShowAnswer(m_stdText, m_stdAnswer);
    return 1;
}
