#include "scenes/online/NoltSceneChat.h"

#include "scenes/shared/AnswerWindow.h"

void NoltSceneChat::Parse(VeJson& doc) {
    NoltMessageScene::Parse(doc);
    m_logType = LogType_Answer;
}

int NoltSceneChat::Execute() {
    if (m_stdMessage.empty()) {
        m_logType = LogType_NotCarriedOut;
        return 0;
    }
    ShowAnswer(m_stdText, WithLineBreaks(m_stdMessage));
    return 1;
}

std::string WithLineBreaks(const std::string& gbkAnswer) {
    std::string out;
    out.reserve(gbkAnswer.size());
    for (size_t i = 0; i < gbkAnswer.size(); ++i) {
        const auto byte = static_cast<unsigned char>(gbkAnswer[i]);
        if (byte >= 0x81 && i + 1 < gbkAnswer.size()) {
            out += gbkAnswer[i];
            out += gbkAnswer[++i];
        } else if (byte == '\\' && i + 1 < gbkAnswer.size() && gbkAnswer[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += gbkAnswer[i];
        }
    }
    return out;
}
