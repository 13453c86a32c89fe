// The copy and accessor members of the host's settings records, exported for the host.
#include "host/DataFactory.h"

CDataFactory::CDataFactory(const CDataFactory& other) = default;
CDataFactory& CDataFactory::operator=(const CDataFactory& other) = default;
int CDataFactory::GetCurrentBrightness() const { return m_nCurrentBrightness; }
void CDataFactory::SetCurrentBrightness(int level) { m_nCurrentBrightness = level; }

CPreferences::CPreferences(const CPreferences& other) = default;
CPreferences& CPreferences::operator=(const CPreferences& other) = default;

CString CPreferences::GetVersion() const { return m_strVersion; }
int CPreferences::GetFirstRunState() const { return m_nFirstRunState; }
int CPreferences::GetToggleButton() const { return m_nToggleButton; }
int CPreferences::GetSendInputMethod() const { return m_nSendInputMethod; }
int CPreferences::GetIatTrayFixedFlag() const { return m_nIatTrayFixedFlag; }
int CPreferences::GetBiaodianFlag() const { return m_nBiaodianFlag; }
int CPreferences::GetShowPrompt() const { return m_nShowPrompt; }
int CPreferences::GetStopCheckNetFlag() const { return m_nStopCheckNetFlag; }
int CPreferences::GetAgcFlag() const { return m_nAgcFlag; }
int CPreferences::GetDoubleClickMode_VoiceKey() const { return m_nDoubleClickMode_VoiceKey; }
int CPreferences::GetDoubleClickTimeInterval_ms() const { return m_nDoubleClickTimeInterval_ms; }
int CPreferences::GetAutoRun() const { return m_nAutoRun; }
int CPreferences::GetAdministrator() const { return m_nAdministrator; }
int CPreferences::GetFirstAdministrator() const { return m_nFirstAdministrator; }
int CPreferences::GetFirstFireWall() const { return m_nFirstFireWall; }
int CPreferences::GetAutoModify() const { return m_nAutoModify; }
int CPreferences::GetVeButtonLongDown() const { return m_nVeButtonLongDown; }
int CPreferences::GetOfficeCtrlFlag() const { return m_nOfficeCtrlFlag; }
int CPreferences::GetLaserPenOffAsr() const { return m_nLaserPenOffAsr; }
int CPreferences::GetShotShortcutKeyFlag() const { return m_nShotShortcutKeyFlag; }
int CPreferences::GetEnterKeyFlag() const { return m_nEnterKeyFlag; }
VeTypeWndStyle CPreferences::GetInputWindowStyle() const { return m_eInputWindowStyle; }
VeLeftWorkMode CPreferences::GetWorkMode() const { return m_eWorkMode; }
int CPreferences::GetUpdateScheme() const { return m_nUpdateScheme; }
CString CPreferences::GetClxZipTime() const { return m_strClxZipTime; }
int CPreferences::GetPcLnkVersion() const { return m_nPcLnkVersion; }
CString CPreferences::GetPPtFilesPath() const { return m_strPPtFilesPath; }
int CPreferences::GetSubtitleFanYi() const { return m_nSubtitleFanYi; }
CString CPreferences::GetSubtitleSavePath() const { return m_strSubtitleSavePath; }
int CPreferences::GetGestureFlag() const { return m_nGestureFlag; }
