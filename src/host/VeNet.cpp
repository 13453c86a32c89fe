// The copy members of the network library's records, exported for the host.
#include "host/VeNet.h"

CAccountData::CAccountData(const CAccountData& other) = default;
CAccountData& CAccountData::operator=(const CAccountData& other) = default;
CVeAccount::CVeAccount(const CVeAccount& other) = default;
CVeAccount& CVeAccount::operator=(const CVeAccount& other) = default;
CAiManager::CAiManager(const CAiManager& other) = default;
CAiManager& CAiManager::operator=(const CAiManager& other) = default;
