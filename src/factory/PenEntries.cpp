// The laser pointer's entries: offline grammar results and online results with an intent,
// routed through the two pen registries.
#include "factory/Dispatch.h"
#include "factory/SceneRegistry.h"
#include "host/DataFactory.h"
#include "host/VeChar.h"
#include "host/VeJson.h"
#include "host/VeUI.h"
#include "vescene/CVeSceneFactory.h"

namespace {

constexpr int kMinimumPenScore = 20;

void ReportNoCommand(const char16_t* logText) {
    VeUI::Tray(u"未能匹配到指令", VeTray_Show);
    VeUI::Log(logText, LogType_Failure);
}

// Neither a scene nor a binding of the user's took the text.
VeProcessState NothingMatched(const CString& shown, const char16_t* noCommandLog) {
    VeUI::Log_2(shown, LogType_NotCarriedOut);
    ReportNoCommand(noCommandLog);
    return ProcessFailed;
}

// The user's own binding of the text, if any.
bool OpenUserFile(const CString& shown) {
    LogType logType = LogType_NotCarriedOut;
    vewin::HICON icon = nullptr;
    if (!CPreferences::Data()->VeOpenUserFiles(shown, logType, icon)) return false;
    VeUI::Tray(shown, VeTray_Show);
    LogOutcome(shown, logType, icon);
    return true;
}

// Runs the scene on the shown text; true when it was carried out.
bool RunPenScene(VeBasicService& scene, VeJson& doc, const CString& shown) {
    return RunScene(scene, doc, VeChar::VeCString2string(shown), shown, OutcomeLog::TrayAndLog) == SceneOutcome::Done;
}

}  // namespace

bool CVeSceneFactory::ReadPenResult(VeJson& doc, const char16_t* noCommandLog, std::string& utf8Text) {
    utf8Text = doc.Get("text");
    if (!utf8Text.empty()) {
        utf8Text = KeepText(doc, utf8Text);
        m_stdScene = doc.Get("semantic^intent");
        if (doc.Get("rc") == "4" || m_stdScene.empty()) m_stdScene = "rc=4";
        VeUI::Log(u"在线识别结果", LogType_PenResult);
        return true;
    }
    const std::string score = doc.Get("sc");
    VeUI::Log_2(u"本地置信度为：" + VeChar::VeUtf8_2_CString(score), LogType_PenResult);
    const int value = ScoreOf(score);
    if (value < kMinimumPenScore) {
        ReportNoCommand(noCommandLog);
        return false;
    }
    utf8Text = GetOffAsrResult(doc);
    if (utf8Text.empty()) {
        ReportFailure(u"__识别出错__");
        return false;
    }
    utf8Text = KeepText(doc, utf8Text);
    const int level = CPreferences::Data()->GetConfidenceLevel(VeChar::VeUtf8_2_UnicodeChar(utf8Text));
    if (level != -1 && value < level) {
        ReportNoCommand(noCommandLog);
        return false;
    }
    m_stdScene = "offasr_p";
    VeUI::Log(u"本地识别结果", LogType_PenResult);
    return true;
}

VeProcessState CVeSceneFactory::ProcessP_normal(const char* text) {
    return WithDocument(text, [&](VeJson& doc) {
        constexpr const char16_t* kNoCommand = u"普通控制：未能匹配到指令";
        std::string utf8Text;
        if (!ReadPenResult(doc, kNoCommand, utf8Text)) return ProcessFailed;
        const CString shown = VeChar::VeUtf8_2_CString(utf8Text);
        if (OpenUserFile(shown)) return ProcessDone;

        auto scene = MakeNormalPenScene(m_stdScene);
        if (!scene) return NothingMatched(shown, kNoCommand);
        if (!RunPenScene(*scene, doc, shown)) {
            // A slide-show command while no slide show has the focus.
            VeUI::Tray(scene->m_logType == LogType_Failure ? u"请点击ppt再操作" : u"该指令在普通控制下无效",
                       VeTray_Show);
        }
        return ProcessDone;
    });
}

VeProcessState CVeSceneFactory::ProcessP_PPT(const char* text) {
    return WithDocument(text, [&](VeJson& doc) {
        constexpr const char16_t* kNoCommand = u"PPT控制：未能匹配到指令";
        std::string utf8Text;
        if (!ReadPenResult(doc, kNoCommand, utf8Text)) return ProcessFailed;
        const CString shown = VeChar::VeUtf8_2_CString(utf8Text);

        // Unlike normal control, the scenes come before the user's own bindings here.
        if (auto scene = MakeSlideShowPenScene(m_stdScene)) {
            if (!RunPenScene(*scene, doc, shown)) VeUI::Tray(u"该指令在PPT控制下无效", VeTray_Show);
            return ProcessDone;
        }
        if (OpenUserFile(shown)) return ProcessDone;
        return NothingMatched(shown, kNoCommand);
    });
}
