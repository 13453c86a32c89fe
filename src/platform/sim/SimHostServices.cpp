// The sim's host services: the host's windows (VeUI), its data factory, the environment
// monitor and the other host components, answered from the state.
#include <algorithm>
#include <iterator>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/TraceArgs.h"

namespace vesim {

using namespace traced;

namespace {
constexpr int kVolumeStep = 10;  // as the Windows build steps
constexpr int kVolumeMax = 100;
constexpr int kBrightnessMax = 255;  // the library's scale, as the Windows build's
}  // namespace

template <class T>
T SimDesktop::Answer(std::string call, std::vector<TraceValue> args, T SimState::*field) {
    SimLock lock(m_mutex);
    T value = m_state.*field;
    Record(lock, std::move(call), std::move(args), traced::Answer(value));
    return value;
}

// ---------------------------------------------------------------- VeUI

void SimDesktop::Tray(const CString& text, VeTrayParams params) { Record("VeUI::Tray", {Text(text), Num(params)}); }
void SimDesktop::Tray_2(const CString& text) { Record("VeUI::Tray_2", {Text(text)}); }
void SimDesktop::InteractiveSet(const char16_t* text, VeInteractiveParams params) {
    Record("VeUI::InteractiveSet", {WideOrNull(text), Num(params)});
}
void SimDesktop::Log(const CString& text, LogType type) { Record("VeUI::Log", {Text(text), Num(type)}); }
void SimDesktop::Log_2(const CString& text, LogType type) { Record("VeUI::Log_2", {Text(text), Num(type)}); }
void SimDesktop::Log_HICON(const CString& text, HICON icon) { Record("VeUI::Log_HICON", {Text(text), Ptr(icon)}); }
void SimDesktop::Log_nolt(const CString& text, LogType type) { Record("VeUI::Log_nolt", {Text(text), Num(type)}); }
void SimDesktop::DebugLog(const CString& text, LogType type) { Record("VeUI::DebugLog", {Text(text), Num(type)}); }
void SimDesktop::MainMenu(MainMenuType page) { Record("VeUI::MainMenu", {Num(page)}); }

bool SimDesktop::YesOrNot(const CString& question) {
    return Answer("VeUI::YesOrNot", {Text(question)}, &SimState::yesNoAnswer);
}

void SimDesktop::VeShellExecuteA(const std::string& gbkTarget) { Record("VeUI::VeShellExecuteA", {Gbk(gbkTarget)}); }

// ---------------------------------------------------------------- data factory

bool SimDesktop::OpenWebsite(CString& name, LogType& type) {
    const std::string utf8 = Utf8(name);
    SimLock lock(m_mutex);
    bool known = m_state.websites.count(utf8) > 0;
    if (known) type = LogType_Website;
    Record(lock, "CDataFactory::OpenWebsite", {TraceValue::Text(utf8)}, Flag(known));
    return known;
}

bool SimDesktop::OpenWebsite_Grm(CString& name, LogType& type) {
    const std::string utf8 = Utf8(name);
    SimLock lock(m_mutex);
    bool known = m_state.websites.count(utf8) > 0;
    if (known) type = LogType_Website;
    Record(lock, "CDataFactory::OpenWebsite_Grm", {TraceValue::Text(utf8)}, Flag(known));
    return known;
}

bool SimDesktop::OpenPcSoftwareLnk(CString& name, LogType& type, HICON& icon) {
    const std::string utf8 = Utf8(name);
    SimLock lock(m_mutex);
    auto it = m_state.programs.find(utf8);
    bool known = it != m_state.programs.end();
    if (known) {
        type = LogType_Application;
        icon = reinterpret_cast<HICON>(0x1000 + 4 * std::distance(m_state.programs.begin(), it));
    }
    Record(lock, "CDataFactory::OpenPcSoftwareLnk", {TraceValue::Text(utf8)}, Flag(known));
    return known;
}

bool SimDesktop::VeOpenUserFiles(const CString& name, LogType& type, HICON& icon) {
    const std::string utf8 = Utf8(name);
    SimLock lock(m_mutex);
    bool known = m_state.userFiles.count(utf8) > 0;
    if (known) {
        type = LogType_Application;
        icon = nullptr;
    }
    Record(lock, "CDataFactory::VeOpenUserFiles", {TraceValue::Text(utf8)}, Flag(known));
    return known;
}

bool SimDesktop::UninstSystemExe(CString& name, LogType& type) {
    const std::string utf8 = Utf8(name);
    SimLock lock(m_mutex);
    bool known = m_state.uninstallable.count(utf8) > 0;
    if (known) type = LogType_Application;
    Record(lock, "CDataFactory::UninstSystemExe", {TraceValue::Text(utf8)}, Flag(known));
    return known;
}

void SimDesktop::SetNormal(bool normal) { Record("CDataFactory::SetNormal", {Flag(normal)}); }

int SimDesktop::GetConfidenceLevel(const std::string& gbkText) {
    const std::string utf8 = textcodec::GbkToUtf8(gbkText);
    SimLock lock(m_mutex);
    auto it = m_state.confidence.find(utf8);
    int level = it == m_state.confidence.end() ? -1 : it->second;
    Record(lock, "CDataFactory::GetConfidenceLevel", {TraceValue::Text(utf8)}, Num(level));
    return level;
}

// ---------------------------------------------------------------- environment

int SimDesktop::SetVolume(int level, bool muteSwitch) {
    SimLock lock(m_mutex);
    int result = -1;
    if (m_state.audioAvailable) {
        if (muteSwitch) {
            m_state.muted = level == 1;
        } else if (level == 200) {
            m_state.volume = std::min(kVolumeMax, m_state.volume + kVolumeStep);
        } else if (level == -200) {
            m_state.volume = std::max(0, m_state.volume - kVolumeStep);
        } else {
            m_state.volume = std::clamp(level, 0, kVolumeMax);
        }
        result = m_state.volume;
    }
    Record(lock, "CEnvironmentMonitor::SetVolume", {Num(level), Flag(muteSwitch)}, Num(result));
    return result;
}

int SimDesktop::SetBrightness(int level) {
    SimLock lock(m_mutex);
    if (m_state.brightness >= 0) m_state.brightness = std::clamp(level, 0, kBrightnessMax);
    const int result = std::max(m_state.brightness, -1);
    Record(lock, "CEnvironmentMonitor::SetBrightness", {Num(level)}, Num(result));
    return result;
}

int SimDesktop::GetBrightness() {
    SimLock lock(m_mutex);
    const int result = std::max(m_state.brightness, -1);
    Record(lock, "CEnvironmentMonitor::GetBrightness", {}, Num(result));
    return result;
}

bool SimDesktop::CheckNet(bool flag) { return Answer("CEnvironmentMonitor::CheckNet", {Flag(flag)}, &SimState::network); }

WindowsVersion SimDesktop::OsVersion() {
    return Answer("CEnvironmentMonitor::OsVersion", {}, &SimState::windowsVersion);
}

void SimDesktop::ElevatePermission() { Record("CEnvironmentMonitor::ElevatePermission", {}); }

// ---------------------------------------------------------------- CUtil and friends

bool SimDesktop::OpenCommand(std::string& gbkCommand) {
    const std::string utf8 = textcodec::GbkToUtf8(gbkCommand);
    SimLock lock(m_mutex);
    bool known = m_state.hostCommands.count(utf8) > 0;
    Record(lock, "CUtil::OpenCommand", {TraceValue::Text(utf8)}, Flag(known));
    return known;
}

void SimDesktop::SearchInBaidu_unicode(const std::string& gbkText) {
    Record("CUtil::SearchInBaidu_unicode", {Gbk(gbkText)});
}

void SimDesktop::NoteHttpRequest(const std::string& url, int result) {
    Record("CVeCurl::OpenUrl_get", {TraceValue::Text(url)}, Num(result));
}

void SimDesktop::OnlineResult(const std::string& utf8Text, const std::string& utf8Scene, int status) {
    Record("VeUI::OnlineResult", {TraceValue::Text(utf8Text), TraceValue::Text(utf8Scene), Num(status)});
}

void SimDesktop::SearchInBaidu_utf8(const std::string& utf8Text) {
    Record("CUtil::SearchInBaidu_utf8", {TraceValue::Text(utf8Text)});
}

void SimDesktop::RefreshToolbarAreaIcon() { Record("CUtil::RefreshToolbarAreaIcon", {}); }

CString SimDesktop::GetCurrentWndText() {
    return CString(textcodec::Utf8ToUtf16(Answer("CurrentWnd::GetCurrentWndText", {}, &SimState::foregroundTitle)));
}

bool SimDesktop::IsPPtSlideShow() { return Answer("CurrentWnd::IsPPtSlideShow", {}, &SimState::slideShow); }

std::string SimDesktop::GetMac(MacForm form) { return Answer("MacAddress::GetMac", {Num(form)}, &SimState::mac); }

std::string SimDesktop::GetTime_2020_01_01() { return Answer("TyTime::GetTime_2020_01_01", {}, &SimState::date); }

bool SimDesktop::OpenUserSelf(CString& name, LogType& /*type*/, HICON& /*icon*/) {
    const std::string utf8 = Utf8(name);
    SimLock lock(m_mutex);
    bool known = m_state.userCommands.count(utf8) > 0;
    Record(lock, "CAccountData::OpenUserSelf", {TraceValue::Text(utf8)}, Flag(known));
    return known;
}

void SimDesktop::openAi(const std::string& utf8Text) { Record("CAiManager::openAi", {TraceValue::Text(utf8Text)}); }

std::string SimDesktop::GetCity() { return textcodec::Utf8ToGbk(Answer("VeAddress::GetCity", {}, &SimState::city)); }

bool SimDesktop::WordTemplate(CString& name) {
    return Answer("CVeOffice::WordTemplate", {Text(name)}, &SimState::wordTemplateOk);
}

}  // namespace vesim
