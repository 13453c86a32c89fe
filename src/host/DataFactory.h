#pragma once
// The host's data factory: its tables of web sites, programs and user files, and settings.
#include <string>

#include "host/CString.h"
#include "host/HostTypes.h"
#include "platform/WinTypes.h"

class CDataFactory {
public:
    bool OpenWebsite(CString& name, LogType& type);
    bool OpenWebsite_Grm(CString& name, LogType& type);
    bool OpenPcSoftwareLnk(CString& name, LogType& type, vewin::HICON& icon);
    bool VeOpenUserFiles(CString name, LogType& type, vewin::HICON& icon);
    bool UninstSystemExe(CString& name, LogType& type);
    void SetNormal(bool normal);
    int GetConfidenceLevel(std::string gbkText);

    // The display brightness the brightness commands read and store.
    int GetCurrentBrightness() const { return m_nCurrentBrightness; }
    void SetCurrentBrightness(int level) { m_nCurrentBrightness = level; }

private:
    int m_nCurrentBrightness = -1;
};

class CPreferences {
public:
    static CDataFactory* Data();
};
