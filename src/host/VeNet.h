#pragma once
// The host's network library: user accounts and commands, AI chat, location.
#include <map>
#include <string>
#include <vector>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "platform/WinTypes.h"
#include "vescene/Export.h"

// One of the user's own commands: a spoken name and what it runs.
struct VeUserCommand {
    CString name;
    CString target;
    int kind = 0;
};

// A signed-in account of the host.
struct VeAccountRecord {
    std::string id;
    CString nickname;
    std::string token;
};

// The layouts of the classes below are shared with the host (see DataFactory.h).
class VESCENE_API CAccountData {
public:
    CAccountData() = default;
    CAccountData(const CAccountData& other);
    CAccountData& operator=(const CAccountData& other);

    // Runs the user's own command of that name; true when one matched.
    bool OpenUserSelf(CString& name, LogType& type, vewin::HICON& icon);

    std::vector<VeUserCommand> m_vecUserCommands;
    std::map<CString, VeUserCommand> m_mapUserCommands;
    std::vector<VeAccountRecord> m_vecSharedCommands;
    std::map<std::string, VeAccountRecord> m_mapAccounts;
};

class VESCENE_API CVeAccount {
public:
    static CAccountData* Data();

    CVeAccount() = default;
    CVeAccount(const CVeAccount& other);
    CVeAccount& operator=(const CVeAccount& other);

    std::vector<VeAccountRecord> m_vecAccounts;
    std::map<std::string, VeAccountRecord> m_mapAccountsById;
};

class VESCENE_API CAiManager {
public:
    static void openAi(std::string utf8Text);

    CAiManager() = default;
    CAiManager(const CAiManager& other);
    CAiManager& operator=(const CAiManager& other);

    std::vector<CString> m_vecHistory;
    CString m_strSession;
    int m_nModel = 0;
};

namespace VeAddress {
std::string GetCity();  // GBK, empty when the host cannot tell
}

// HTTP GET client of the host's network library (the song search and the online service).
// Settings (timeouts, endpoints): host/HttpConfig.h. Its layout is shared with the host too.
class VESCENE_API CVeCurl {
public:
    CVeCurl();
    ~CVeCurl();
    CVeCurl(const CVeCurl& other);
    CVeCurl& operator=(const CVeCurl& other);
    int OpenUrl_get(std::string& url);  // 0 on success; a failure leaves an empty result
    std::string GetResult_utf8();
    std::string GetResult_unicode();  // GBK

    // The body of the last request; the pointer stays valid until the next request or assignment.
    unsigned char* GetDownloadData();
    unsigned int GetDownloadDataLen() const;

private:
    int Get(const std::string& url);
    void SetBody(std::string body);

    std::string m_strUrl;                   // the last URL requested
    unsigned char* m_pDownloadData;         // into m_strBody, never owning
    unsigned int m_nDownloadDataLen = 0;
    int m_nResult = 0;                      // the last HttpResult
    std::string m_strBody;                  // UTF-8 as the services send it
    int m_nConnectTimeoutMs = 0;            // the timeouts the last request ran with
    int m_nTotalTimeoutMs = 0;
};
