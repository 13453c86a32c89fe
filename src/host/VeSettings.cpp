// The copy and accessor members of the host's language, proxy and subtitle settings.
#include "host/VeSettings.h"

CLanguage::CLanguage(const CLanguage& other) = default;
CLanguage& CLanguage::operator=(const CLanguage& other) = default;
VoiceSpecies CLanguage::GetVoiceSpecies_type() const { return m_eVoiceSpecies_type; }
VoiceSpecies CLanguage::GetVoiceTranslate_Src() const { return m_eVoiceTranslate_Src; }
int CLanguage::GetVoiceTranslate_Dst() const { return m_nVoiceTranslate_Dst; }
int CLanguage::GetScreenTranslate_Ch_En() const { return m_nScreenTranslate_Ch_En; }

CString CLanguage::GetVoiceTranslateChineseName_Dst() const {
    // The index comes from the host's settings file: a stale one must not read past the table.
    if (m_nVoiceTranslate_Dst < 0 || static_cast<size_t>(m_nVoiceTranslate_Dst) >= m_vecLanguages.size()) return {};
    return m_vecLanguages[static_cast<size_t>(m_nVoiceTranslate_Dst)].name;
}

CVeProxySet::CVeProxySet(const CVeProxySet& other) = default;
CVeProxySet& CVeProxySet::operator=(const CVeProxySet& other) = default;
VeProxyType CVeProxySet::GetProxyType() const { return m_eProxyType; }
std::string CVeProxySet::GetIP() const { return m_strIP; }
std::string CVeProxySet::GetPort() const { return m_strPort; }
std::string CVeProxySet::GetUsername() const { return m_strUsername; }
std::string CVeProxySet::GetPassword() const { return m_strPassword; }

CSubtitleSet::CSubtitleSet(const CSubtitleSet& other) = default;
CSubtitleSet& CSubtitleSet::operator=(const CSubtitleSet& other) = default;
VoiceSource CSubtitleSet::GetVoiceSource() const { return m_eVoiceSource; }
CString CSubtitleSet::GetRecordName() const { return m_strRecordName; }
int CSubtitleSet::GetHidNumber() const { return m_nHidNumber; }
