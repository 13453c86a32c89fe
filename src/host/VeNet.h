#pragma once
// The host's network library: user accounts and commands, AI chat, location.
#include <memory>
#include <string>

#include "host/CString.h"
#include "host/HostTypes.h"
#include "platform/WinTypes.h"

class CAccountData {
public:
    // Runs the user's own command of that name; true when one matched.
    bool OpenUserSelf(CString& name, LogType& type, vewin::HICON& icon);
};

class CVeAccount {
public:
    static CAccountData* Data();
};

class CAiManager {
public:
    static void openAi(std::string utf8Text);
};

namespace VeAddress {
std::string GetCity();  // GBK, empty when the host cannot tell
}

// HTTP GET client of the host's network library (the song search and the online service).
// Settings (timeouts, endpoints): host/HttpConfig.h.
class CVeCurl {
public:
    CVeCurl();
    ~CVeCurl();
    CVeCurl(const CVeCurl& other);
    CVeCurl& operator=(const CVeCurl& other);
    int OpenUrl_get(std::string& url);  // 0 on success; a failure leaves an empty result
    std::string GetResult_utf8();
    std::string GetResult_unicode();  // GBK

private:
    int Get(const std::string& url);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
