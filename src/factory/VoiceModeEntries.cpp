// The AI mode and the office voice mode: no scene registry, the text goes straight to the
// host's AI chat or to the office command grammars.
#include <optional>

#include "factory/Dispatch.h"
#include "host/Environment.h"
#include "host/VeChar.h"
#include "host/VeJson.h"
#include "host/VeNet.h"
#include "host/VeUI.h"
#include "keyboard/KeyPlayer.h"
#include "keyboard/OfficeGrammar.h"
#include "keyboard/OfficeSenders.h"
#include "vescene/CVeSceneFactory.h"

namespace {

constexpr int kMinimumAiScore = 45;
constexpr int kMinimumOfficeScore = 55;

// The recognised text, or for a local result its words: refused (nothing) for a poor score,
// tested only while the network is up, or when there are no words.
template <typename Words>
std::optional<std::string> RecognisedText(VeJson& doc, int minimumScore, Words words) {
    std::string utf8Text = doc.Get("text");
    if (utf8Text.empty()) {
        if (CEnvironmentMonitor::CheckNet(false) && ScoreOf(doc.Get("sc")) < minimumScore) {
            ReportFailure(u"__语音识别失败__");
            return std::nullopt;
        }
        utf8Text = words(doc);
        if (utf8Text.empty()) {
            ReportFailure(u"__识别出错__");
            return std::nullopt;
        }
    }
    return WithoutLeadingBlank(utf8Text);
}

}  // namespace

VeProcessState CVeSceneFactory::ProcessAI(const char* text) {
    return WithDocument(text, [&](VeJson& doc) {
        const auto recognised = RecognisedText(doc, kMinimumAiScore, GetOffAsrResult);
        if (!recognised) return ProcessFailed;
        const std::string& utf8Text = *recognised;
        m_stdScene = "ai";
        m_stdText_utf8 = utf8Text;
        const CString shown = VeChar::VeUtf8_2_CString(utf8Text);
        VeUI::Log_2(shown, LogType_AiEntry);
        VeUI::Tray(shown, VeTray_Show);
        CAiManager::openAi(utf8Text);
        return ProcessDone;
    });
}

VeProcessState CVeSceneFactory::ProcessM_office_xiao(const char* text, TyOfficeKind kind) {
    return WithDocument(text, [&](VeJson& doc) {
        // Office phrases are whole word lists, not just the last word.
        const auto recognised = RecognisedText(
            doc, kMinimumOfficeScore, [](VeJson& d) { return d.GetJsonNodeText_All("ws^cw^w"); });
        if (!recognised) return ProcessFailed;
        const std::string& utf8Text = *recognised;
        m_stdText_utf8 = utf8Text;
        const CString shown = VeChar::VeUtf8_2_CString(utf8Text);
        const std::string gbkText = VeChar::VeCString2string(shown);
        VeUI::Tray(shown, VeTray_Show);

        LogType logType = LogType_Failure;
        bool done = false;
        m_stdScene = "office_no";
        EnsureOfficeCtrlGrammars();
        struct Sender {
            TyOfficeKind kind;
            bool (*send)(const std::string&);
            LogType logType;
            const char* scene;
        };
        static constexpr Sender kSenders[] = {
            {TyOffice_Word, SendWordKeys, LogType_Word, "office_word"},
            {TyOffice_PowerPoint, SendPPtKeys, LogType_SlideShow, "office_ppt"},
            {TyOffice_Excel, SendExcelKeys, LogType_Excel, "office_excel"},
        };
        for (const auto& sender : kSenders) {
            if (sender.kind != kind) continue;
            InputScope input;
            done = sender.send(gbkText);
            if (done) {
                logType = input.Blocked() ? LogType_NotCarriedOut : sender.logType;
                m_stdScene = sender.scene;
            }
        }
        VeUI::Log_2(shown, logType);
        return done ? ProcessDone : ProcessUnhandled;
    });
}
