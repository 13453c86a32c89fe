// The host components forward to the installed backend.
#include <utility>

#include "host/CUtil.h"
#include "host/DataFactory.h"
#include "host/Environment.h"
#include "host/VeNet.h"
#include "host/VeOffice.h"
#include "host/VeUI.h"
#include "platform/Win32Api.h"

using vebackend::Current;

namespace VeUI {
void Tray(const char16_t* text, VeTrayParams params) { Current().Tray(CString(text), params); }
void Tray_2(const char16_t* text) { Current().Tray_2(CString(text)); }
void InteractiveSet(const char16_t* text, VeInteractiveParams params) { Current().InteractiveSet(text, params); }
void Log(const char16_t* text, LogType type) { Current().Log(CString(text), type); }
void Log_2(const CString& text, LogType type) { Current().Log_2(text, type); }
void Log_HICON(const CString& text, vewin::HICON icon) { Current().Log_HICON(text, icon); }
void Log_nolt(const CString& text, LogType type) { Current().Log_nolt(text, type); }
void DebugLog(const char16_t* text, LogType type) { Current().DebugLog(CString(text), type); }
void MainMenu(MainMenuType page) { Current().MainMenu(page); }
namespace {
thread_local bool t_toldNotCarriedOut = false;  // a scene runs on one thread, start to end
thread_local const std::function<bool()>* t_abandoned = nullptr;
}  // namespace

AbandonedWhen::AbandonedWhen(const std::function<bool()>& abandoned) : m_previous(std::exchange(t_abandoned, &abandoned)) {}
AbandonedWhen::~AbandonedWhen() { t_abandoned = m_previous; }

bool YesOrNot(const char16_t* question, CWnd*) {
    const bool yes = Current().YesOrNot(CString(question));
    return yes && !(t_abandoned && *t_abandoned && (*t_abandoned)());
}
void TellNotCarriedOut(const char16_t* why) {
    if (why) Tray(why, VeTray_Show);
    t_toldNotCarriedOut = true;
}
bool TakeToldNotCarriedOut() { return std::exchange(t_toldNotCarriedOut, false); }
void VeShellExecuteA(const char* target) { Current().VeShellExecuteA(target ? target : ""); }
void OnlineResult(const std::string& utf8Text, const std::string& utf8Scene, int status) {
    Current().OnlineResult(utf8Text, utf8Scene, status);
}
}  // namespace VeUI

CDataFactory* CPreferences::Data() {
    static CDataFactory factory;
    return &factory;
}

bool CDataFactory::OpenWebsite(CString& name, LogType& type) { return Current().OpenWebsite(name, type); }
bool CDataFactory::OpenWebsite_Grm(CString& name, LogType& type) { return Current().OpenWebsite_Grm(name, type); }
bool CDataFactory::OpenPcSoftwareLnk(CString& name, LogType& type, vewin::HICON& icon) {
    return Current().OpenPcSoftwareLnk(name, type, icon);
}
bool CDataFactory::VeOpenUserFiles(CString name, LogType& type, vewin::HICON& icon) {
    return Current().VeOpenUserFiles(name, type, icon);
}
bool CDataFactory::UninstSystemExe(CString& name, LogType& type) { return Current().UninstSystemExe(name, type); }
void CDataFactory::SetNormal(bool normal) { Current().SetNormal(normal); }
int CDataFactory::GetConfidenceLevel(std::string gbkText) { return Current().GetConfidenceLevel(gbkText); }

int CEnvironmentMonitor::SetVolume(int level, bool muteSwitch) { return Current().SetVolume(level, muteSwitch); }
int CEnvironmentMonitor::SetBrightness(int level) { return Current().SetBrightness(level); }
int CEnvironmentMonitor::GetBrightness() { return Current().GetBrightness(); }
bool CEnvironmentMonitor::CheckNet(bool flag) { return Current().CheckNet(flag); }
WindowsVersion CEnvironmentMonitor::OsVersion() { return Current().OsVersion(); }
void CEnvironmentMonitor::ElevatePermission() { Current().ElevatePermission(); }

bool CUtil::OpenCommand(std::string& gbkCommand) { return Current().OpenCommand(gbkCommand); }
void CUtil::SearchInBaidu_unicode(std::string gbkText) { Current().SearchInBaidu_unicode(gbkText); }
void CUtil::SearchInBaidu_utf8(std::string utf8Text) { Current().SearchInBaidu_utf8(utf8Text); }
void CUtil::RefreshToolbarAreaIcon() { Current().RefreshToolbarAreaIcon(); }

CString CurrentWnd::GetCurrentWndText() { return Current().GetCurrentWndText(); }
bool CurrentWnd::IsPPtSlideShow() { return Current().IsPPtSlideShow(); }
std::string MacAddress::GetMac(MacForm form) { return Current().GetMac(form); }
std::string TyTime::GetTime_2020_01_01() { return Current().GetTime_2020_01_01(); }

CAccountData* CVeAccount::Data() {
    static CAccountData account;
    return &account;
}
bool CAccountData::OpenUserSelf(CString& name, LogType& type, vewin::HICON& icon) {
    return Current().OpenUserSelf(name, type, icon);
}
void CAiManager::openAi(std::string utf8Text) { Current().openAi(utf8Text); }
std::string VeAddress::GetCity() { return Current().GetCity(); }
bool CVeOffice::WordTemplate(CString& name) { return Current().WordTemplate(name); }
