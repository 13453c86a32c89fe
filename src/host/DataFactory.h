#pragma once
// The host's data factory and user settings. Their layouts are shared with the host: it builds
// these objects and this library copies and reads them through the exported members, so the
// members stay in this order.
#include <array>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "platform/WinTypes.h"
#include "vescene/Export.h"

// A web site the host opens by its spoken name.
struct VeWebsiteRecord {
    CString name;
    CString url;
};

// A program, user file or uninstaller the host starts by its spoken name.
struct VeLaunchRecord {
    CString name;
    CString target;
    CString arguments;
    int iconIndex = 0;
};

class VESCENE_API CDataFactory {
public:
    CDataFactory() = default;
    CDataFactory(const CDataFactory& other);
    CDataFactory& operator=(const CDataFactory& other);

    bool OpenWebsite(CString& name, LogType& type);
    bool OpenWebsite_Grm(CString& name, LogType& type);
    bool OpenPcSoftwareLnk(CString& name, LogType& type, vewin::HICON& icon);
    bool VeOpenUserFiles(CString name, LogType& type, vewin::HICON& icon);
    bool UninstSystemExe(CString& name, LogType& type);
    void SetNormal(bool normal);
    int GetConfidenceLevel(std::string gbkText);

    // The display brightness the brightness commands read and store.
    int GetCurrentBrightness() const;
    void SetCurrentBrightness(int level);

    std::vector<VeWebsiteRecord> m_vecWebsites;
    std::vector<VeLaunchRecord> m_vecPcSoftware;
    std::vector<VeLaunchRecord> m_vecUserFiles;
    std::vector<VeLaunchRecord> m_vecUninstallers;
    std::vector<VeLaunchRecord> m_vecSystemPrograms;
    std::list<CString> m_listRecentCommands;
    int m_nCurrentBrightness = -1;
    std::map<std::string, int> m_mapConfidenceLevels;  // GBK command text to minimum score
    bool m_bNormal = true;
    bool m_bLoaded = false;
};

enum VeTypeWndStyle : int { VeTypeWndStyle_Floating = 0, VeTypeWndStyle_Docked = 1, VeTypeWndStyle_Hidden = 2 };
enum VeLeftWorkMode : int { VeLeftWorkMode_Voice = 0, VeLeftWorkMode_Pen = 1, VeLeftWorkMode_Office = 2 };

class VESCENE_API CPreferences {
public:
    static CDataFactory* Data();

    CPreferences() = default;
    CPreferences(const CPreferences& other);
    CPreferences& operator=(const CPreferences& other);

    CString GetVersion() const;
    int GetFirstRunState() const;
    int GetToggleButton() const;
    int GetSendInputMethod() const;
    int GetIatTrayFixedFlag() const;
    int GetBiaodianFlag() const;
    int GetShowPrompt() const;
    int GetStopCheckNetFlag() const;
    int GetAgcFlag() const;
    int GetDoubleClickMode_VoiceKey() const;
    int GetDoubleClickTimeInterval_ms() const;
    int GetAutoRun() const;
    int GetAdministrator() const;
    int GetFirstAdministrator() const;
    int GetFirstFireWall() const;
    int GetAutoModify() const;
    int GetVeButtonLongDown() const;
    int GetOfficeCtrlFlag() const;
    int GetLaserPenOffAsr() const;
    int GetShotShortcutKeyFlag() const;
    int GetEnterKeyFlag() const;
    VeTypeWndStyle GetInputWindowStyle() const;
    VeLeftWorkMode GetWorkMode() const;
    int GetUpdateScheme() const;
    CString GetClxZipTime() const;
    int GetPcLnkVersion() const;
    CString GetPPtFilesPath() const;
    int GetSubtitleFanYi() const;
    CString GetSubtitleSavePath() const;
    int GetGestureFlag() const;

    int m_nWindowLeft = 0;
    int m_nWindowTop = 0;
    int m_nWindowWidth = 0;
    int m_nWindowHeight = 0;
    CString m_strInstallPath;
    CString m_strVersion;
    int m_nFirstRunState = 0;
    int m_nLanguage = 0;
    int m_nToggleButton = 0;
    int m_nSendInputMethod = 0;
    int m_nIatTrayFixedFlag = 0;
    int m_nBiaodianFlag = 0;
    int m_nShowPrompt = 0;
    int m_nStopCheckNetFlag = 0;
    int m_nAgcFlag = 0;
    int m_nDoubleClickMode_VoiceKey = 0;
    int m_nDoubleClickTimeInterval_ms = 0;
    int m_nAutoRun = 0;
    int m_nAdministrator = 0;
    int m_nFirstAdministrator = 0;
    int m_nFirstFireWall = 0;
    int m_nAutoModify = 0;
    int m_nVeButtonLongDown = 0;
    int m_nOfficeCtrlFlag = 0;
    int m_nLaserPenOffAsr = 0;
    int m_nShotShortcutKeyFlag = 0;
    int m_nEnterKeyFlag = 0;
    VeTypeWndStyle m_eInputWindowStyle = VeTypeWndStyle_Floating;
    VeLeftWorkMode m_eWorkMode = VeLeftWorkMode_Voice;
    int m_nUpdateScheme = 0;
    CString m_strClxZipTime;
    int m_nPcLnkVersion = 0;
    int m_nPcLnkCount = 0;
    CString m_strPPtFilesPath;
    CString m_strScreenshotPath;
    int m_nSubtitleFanYi = 0;
    CString m_strSubtitleSavePath;
    std::string m_strUserId;
    // Two blocks of the host's own (a UTF-16 path each); copied as bytes, never read here.
    std::array<unsigned char, 520> m_abyVoiceKeyBlock{};
    std::array<unsigned char, 520> m_abyPenKeyBlock{};
    int m_nGestureMode = 0;
    int m_nGestureFlag = 0;
};
