#pragma once
// Splits a spoken 「看…」 (watch), 「买…」 (buy) or 「听…」 (listen) request into a site and a
// keyword, and opens the site's search for it.
#include "core/CString.h"
#include "core/HostTypes.h"

class CSiteSearch {
public:
    // True when the site and keyword were set; texts that other scenes handle are refused.
    bool ParseSiteText(const CString& text);
    // True when something was opened; sets the caller's log type then.
    bool OpenSite(LogType& logType);
    bool IsMusicSite() const;

    CString m_strSite;
    CString m_strKeyword;
};

// Every GBK byte of the keyword as '%' and upper-case hex without a leading zero.
std::string ShopHexForm(const CString& keyword);
