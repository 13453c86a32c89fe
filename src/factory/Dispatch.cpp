#include "factory/Dispatch.h"

#include <cctype>
#include <climits>

#include "factory/RewriteRules.h"
#include "host/VeChar.h"
#include "host/VeNet.h"
#include "host/VeUI.h"
#include "keyboard/KeyPlayer.h"

void LogOutcome(const CString& text, LogType logType, vewin::HICON icon) {
    if (icon)
        VeUI::Log_HICON(text, icon);
    else
        VeUI::Log_2(text, logType);
}

SceneOutcome RunScene(VeBasicService& scene, VeJson& doc, const std::string& gbkText, const CString& shown,
                      OutcomeLog log) {
    scene.SetText(gbkText);
    scene.Parse(doc);
    VeUI::TakeToldNotCarriedOut();  // what an earlier run left is not this one's
    InputScope input;
    const int result = scene.Execute();
    // Input that could not reach an administrator window was not sent, and the user was told.
    const bool told = VeUI::TakeToldNotCarriedOut() || input.Blocked();
    const SceneOutcome outcome = told ? SceneOutcome::Answered : result != 0 ? SceneOutcome::Done : SceneOutcome::Declined;
    if (log == OutcomeLog::Nolt) {
        VeUI::Log_nolt(shown, outcome == SceneOutcome::Done ? scene.m_logType : LogType_NotCarriedOut);
    } else if (outcome != SceneOutcome::Done) {
        VeUI::Log_2(shown, LogType_NotCarriedOut);
    } else {
        if (log == OutcomeLog::TrayAndLog) VeUI::Tray(shown, VeTray_Show);
        LogOutcome(shown, scene.m_logType, scene.m_hIcon);
    }
    return outcome;
}

void ReportFailure(const char16_t* text) {
    VeUI::Tray(text, VeTray_Show);
    VeUI::Log(text, LogType_Failure);
}

std::string WithoutLeadingBlank(std::string text) {
    if (!text.empty() && text.front() == ' ') text.erase(0, 1);
    return text;
}

int ScoreOf(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > INT_MAX) {
            value = static_cast<long long>(INT_MAX) + 1;
            break;
        }
    }
    if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

VeProcessState RouteUtterance(VeJson& doc, const std::string& utf8Text, std::string& sceneName,
                              SceneRegistry registry, bool& handOver) {
    handOver = true;
    CString text = VeChar::VeUtf8_2_CString(utf8Text);
    VeUI::InteractiveSet(nullptr, VeInteractive_Reset);
    VeUI::Tray(text, VeTray_Show);
    std::string gbkText = VeChar::VeCString2string(text);

    LogType logType = LogType_Base;
    vewin::HICON icon = nullptr;
    if (CVeAccount::Data()->OpenUserSelf(text, logType, icon) || CheckMainMenuWord(text, logType)) {
        LogOutcome(text, logType, icon);
        sceneName = "userself";
        return ProcessDone;
    }

    auto scene = registry(sceneName);
    if (!scene) {
        VeUI::Log_2(text, LogType_NotCarriedOut);
        return ProcessUnhandled;
    }
    const SceneOutcome outcome = RunScene(*scene, doc, gbkText, text, OutcomeLog::Log);
    handOver = outcome == SceneOutcome::Declined;
    return outcome == SceneOutcome::Done ? ProcessDone : ProcessUnhandled;
}
