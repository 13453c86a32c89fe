#pragma once
// The host's language, proxy and subtitle settings. Their layouts are shared with the host (see
// DataFactory.h), so the members stay in this order.
#include <map>
#include <string>
#include <vector>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "vescene/Export.h"

enum VoiceSpecies : int {
    VoiceSpecies_Mandarin = 0,
    VoiceSpecies_English = 1,
    VoiceSpecies_Cantonese = 2,
    VoiceSpecies_Sichuanese = 3,
};

// One language the host recognises or translates to.
struct VeLanguageRecord {
    CString name;  // the Chinese name shown to the user
    std::string code;
    int engineId = 0;
};

class VESCENE_API CLanguage {
public:
    CLanguage() = default;
    CLanguage(const CLanguage& other);
    CLanguage& operator=(const CLanguage& other);

    VoiceSpecies GetVoiceSpecies_type() const;
    VoiceSpecies GetVoiceTranslate_Src() const;
    int GetVoiceTranslate_Dst() const;
    int GetScreenTranslate_Ch_En() const;
    // The name of the language at index GetVoiceTranslate_Dst(); empty when there is none.
    CString GetVoiceTranslateChineseName_Dst() const;

    int m_nVersion = 0;
    std::vector<VeLanguageRecord> m_vecLanguages;
    std::map<std::string, int> m_mapCodeToIndex;
    std::map<int, VoiceSpecies> m_mapIndexToSpecies;
    std::vector<VeLanguageRecord> m_vecScreenSources;
    std::vector<VeLanguageRecord> m_vecScreenTargets;
    VoiceSpecies m_eVoiceSpecies_type = VoiceSpecies_Mandarin;
    VoiceSpecies m_eVoiceTranslate_Src = VoiceSpecies_Mandarin;
    int m_nVoiceTranslateMode = 0;
    int m_nVoiceTranslate_Dst = 0;
    int m_nScreenTranslate_Ch_En = 0;
    int m_nScreenTranslate_Src = 0;
    int m_nScreenTranslate_Dst = 0;
};

enum VeProxyType : int { VeProxyType_None = 0, VeProxyType_Http = 1, VeProxyType_Socks4 = 2, VeProxyType_Socks5 = 3 };

class VESCENE_API CVeProxySet {
public:
    CVeProxySet() = default;
    CVeProxySet(const CVeProxySet& other);
    CVeProxySet& operator=(const CVeProxySet& other);

    VeProxyType GetProxyType() const;
    std::string GetIP() const;
    std::string GetPort() const;
    std::string GetUsername() const;
    std::string GetPassword() const;

    VeProxyType m_eProxyType = VeProxyType_None;
    std::string m_strIP;
    std::string m_strPort;
    std::string m_strUsername;
    std::string m_strPassword;
    std::string m_strDomain;
    std::string m_strBypass;
};

class VESCENE_API CSubtitleSet {
public:
    CSubtitleSet() = default;
    CSubtitleSet(const CSubtitleSet& other);
    CSubtitleSet& operator=(const CSubtitleSet& other);

    VoiceSource GetVoiceSource() const;
    CString GetRecordName() const;
    int GetHidNumber() const;

    int m_nFontSize = 0;
    VoiceSource m_eVoiceSource = VoiceSource_Mouse;
    CString m_strRecordName;
    int m_nHidNumber = 0;
};
