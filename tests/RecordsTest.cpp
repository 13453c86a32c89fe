// The host's settings records: copies are deep, complete and independent of their source, and
// assignment to itself changes nothing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/DataFactory.h"
#include "host/VeJson.h"
#include "host/VeNet.h"
#include "host/VeOffice.h"
#include "host/VeSettings.h"

#include "LoopbackServer.h"

namespace {

CPreferences FilledPreferences() {
    CPreferences p;
    p.m_nWindowLeft = 11;
    p.m_strInstallPath = u"C:\\Ve";
    p.m_strVersion = u"3.2.1";
    p.m_nFirstRunState = 1;
    p.m_nBiaodianFlag = 1;
    p.m_nDoubleClickTimeInterval_ms = 450;
    p.m_nLaserPenOffAsr = 1;
    p.m_eInputWindowStyle = VeTypeWndStyle_Docked;
    p.m_eWorkMode = VeLeftWorkMode_Pen;
    p.m_nUpdateScheme = 2;
    p.m_strClxZipTime = u"2020-01-01";
    p.m_nPcLnkVersion = 7;
    p.m_strPPtFilesPath = u"D:\\幻灯片";
    p.m_nSubtitleFanYi = 1;
    p.m_strSubtitleSavePath = u"D:\\字幕";
    p.m_strUserId = "user-42";
    p.m_abyVoiceKeyBlock.fill(0xAB);
    p.m_abyPenKeyBlock[519] = 0xCD;
    p.m_nGestureFlag = 3;
    return p;
}

void ExpectFilled(const CPreferences& p) {
    EXPECT_EQ(p.m_nWindowLeft, 11);
    EXPECT_EQ(p.m_strInstallPath, u"C:\\Ve");
    EXPECT_EQ(p.GetVersion(), u"3.2.1");
    EXPECT_EQ(p.GetFirstRunState(), 1);
    EXPECT_EQ(p.GetBiaodianFlag(), 1);
    EXPECT_EQ(p.GetDoubleClickTimeInterval_ms(), 450);
    EXPECT_EQ(p.GetLaserPenOffAsr(), 1);
    EXPECT_EQ(p.GetInputWindowStyle(), VeTypeWndStyle_Docked);
    EXPECT_EQ(p.GetWorkMode(), VeLeftWorkMode_Pen);
    EXPECT_EQ(p.GetUpdateScheme(), 2);
    EXPECT_EQ(p.GetClxZipTime(), u"2020-01-01");
    EXPECT_EQ(p.GetPcLnkVersion(), 7);
    EXPECT_EQ(p.GetPPtFilesPath(), u"D:\\幻灯片");
    EXPECT_EQ(p.GetSubtitleFanYi(), 1);
    EXPECT_EQ(p.GetSubtitleSavePath(), u"D:\\字幕");
    EXPECT_EQ(p.m_strUserId, "user-42");
    EXPECT_EQ(p.m_abyVoiceKeyBlock[0], 0xAB);
    EXPECT_EQ(p.m_abyVoiceKeyBlock[519], 0xAB);
    EXPECT_EQ(p.m_abyPenKeyBlock[519], 0xCD);
    EXPECT_EQ(p.GetGestureFlag(), 3);
}

TEST(RecordsTest, PreferencesCopyEveryMemberDeeply) {
    auto source = std::make_unique<CPreferences>(FilledPreferences());
    CPreferences constructed(*source);
    CPreferences assigned;
    assigned = *source;
    source->m_strVersion += u"-changed";
    source->m_abyVoiceKeyBlock.fill(0);
    source.reset();  // the copies own their texts
    ExpectFilled(constructed);
    ExpectFilled(assigned);

    CPreferences& alias = assigned;
    assigned = alias;
    ExpectFilled(assigned);
}

TEST(RecordsTest, DataFactoryCopiesItsTablesAndTheBrightness) {
    CDataFactory source;
    source.m_vecWebsites.push_back({u"淘宝", u"https://www.taobao.com/"});
    source.m_vecPcSoftware.push_back({u"记事本", u"notepad.exe", u"", 1});
    source.m_listRecentCommands.push_back(u"打开记事本");
    source.SetCurrentBrightness(70);
    source.m_mapConfidenceLevels["关机"] = 90;
    source.m_bLoaded = true;

    CDataFactory copy(source);
    source.m_vecPcSoftware[0].target = u"changed.exe";
    source.SetCurrentBrightness(10);
    EXPECT_EQ(copy.m_vecWebsites.at(0).url, u"https://www.taobao.com/");
    EXPECT_EQ(copy.m_vecPcSoftware.at(0).target, u"notepad.exe");
    EXPECT_EQ(copy.m_listRecentCommands.front(), u"打开记事本");
    EXPECT_EQ(copy.GetCurrentBrightness(), 70);
    EXPECT_EQ(copy.m_mapConfidenceLevels.at("关机"), 90);
    EXPECT_TRUE(copy.m_bLoaded);

    copy = *&copy;
    EXPECT_EQ(copy.m_vecPcSoftware.size(), 1u);
    EXPECT_EQ(copy.GetCurrentBrightness(), 70);
}

TEST(RecordsTest, LanguageNamesTheTranslationTargetOnlyWhenItExists) {
    CLanguage language;
    language.m_vecLanguages = {{u"英语", "en", 1}, {u"日语", "ja", 2}};
    language.m_eVoiceSpecies_type = VoiceSpecies_Cantonese;
    language.m_eVoiceTranslate_Src = VoiceSpecies_English;
    language.m_nScreenTranslate_Ch_En = 1;
    const struct {
        int index;
        const char16_t* name;
    } cases[] = {{0, u"英语"}, {1, u"日语"}, {2, u""}, {-1, u""}, {1 << 30, u""}};
    for (const auto& c : cases) {
        language.m_nVoiceTranslate_Dst = c.index;
        CLanguage copy;
        copy = language;
        EXPECT_EQ(copy.GetVoiceTranslate_Dst(), c.index);
        EXPECT_EQ(copy.GetVoiceTranslateChineseName_Dst(), c.name) << c.index;
        EXPECT_EQ(copy.GetVoiceSpecies_type(), VoiceSpecies_Cantonese);
        EXPECT_EQ(copy.GetVoiceTranslate_Src(), VoiceSpecies_English);
        EXPECT_EQ(copy.GetScreenTranslate_Ch_En(), 1);
    }
}

TEST(RecordsTest, ProxyAndSubtitleSettingsSurviveCopies) {
    CVeProxySet proxy;
    proxy.m_eProxyType = VeProxyType_Socks5;
    proxy.m_strIP = "10.0.0.1";
    proxy.m_strPort = "1080";
    proxy.m_strUsername = "ve";
    proxy.m_strPassword = "secret";
    proxy.m_strBypass = "localhost";
    CVeProxySet proxyCopy(proxy);
    proxy = *&proxy;
    for (const CVeProxySet* p : {&proxy, &proxyCopy}) {
        EXPECT_EQ(p->GetProxyType(), VeProxyType_Socks5);
        EXPECT_EQ(p->GetIP(), "10.0.0.1");
        EXPECT_EQ(p->GetPort(), "1080");
        EXPECT_EQ(p->GetUsername(), "ve");
        EXPECT_EQ(p->GetPassword(), "secret");
        EXPECT_EQ(p->m_strBypass, "localhost");
    }

    CSubtitleSet subtitle;
    subtitle.m_eVoiceSource = VoiceSource_Pen;
    subtitle.m_strRecordName = u"会议记录";
    subtitle.m_nHidNumber = 4;
    CSubtitleSet subtitleCopy;
    subtitleCopy = subtitle;
    subtitle.m_strRecordName.Empty();
    EXPECT_EQ(subtitleCopy.GetVoiceSource(), VoiceSource_Pen);
    EXPECT_EQ(subtitleCopy.GetRecordName(), u"会议记录");
    EXPECT_EQ(subtitleCopy.GetHidNumber(), 4);
}

TEST(RecordsTest, AccountAndAiRecordsCopyTheirContainers) {
    CAccountData data;
    data.m_vecUserCommands.push_back({u"打开报表", u"D:\\报表.xlsx", 1});
    data.m_mapUserCommands[u"打开报表"] = data.m_vecUserCommands[0];
    data.m_mapAccounts["7"] = {"7", u"小维", "token"};
    CAccountData dataCopy(data);
    data.m_mapUserCommands.clear();
    EXPECT_EQ(dataCopy.m_mapUserCommands.at(u"打开报表").target, u"D:\\报表.xlsx");
    EXPECT_EQ(dataCopy.m_mapAccounts.at("7").nickname, u"小维");

    CVeAccount account;
    account.m_vecAccounts.push_back({"1", u"甲", "t1"});
    account.m_mapAccountsById["1"] = account.m_vecAccounts[0];
    CVeAccount accountCopy;
    accountCopy = account;
    accountCopy = *&accountCopy;
    EXPECT_EQ(accountCopy.m_vecAccounts.size(), 1u);
    EXPECT_EQ(accountCopy.m_mapAccountsById.at("1").token, "t1");

    CAiManager ai;
    ai.m_vecHistory = {u"你好", u"讲个笑话"};
    ai.m_strSession = u"s1";
    ai.m_nModel = 2;
    CAiManager aiCopy(ai);
    EXPECT_EQ(aiCopy.m_vecHistory.size(), 2u);
    EXPECT_EQ(aiCopy.m_strSession, u"s1");
    EXPECT_EQ(aiCopy.m_nModel, 2);
}

TEST(RecordsTest, CurlCopiesOwnTheirDownloadedBytes) {
    const std::string body = R"({"text":"周杰伦的歌，足够长以免落在短字符串缓冲里"})";
    vetest::LoopbackServer server([&](const std::string&) { return vetest::Http(200, body); });
    auto source = std::make_unique<CVeCurl>();
    std::string url = server.Url("/ok");
    ASSERT_EQ(source->OpenUrl_get(url), 0);
    ASSERT_EQ(source->GetDownloadDataLen(), body.size());

    CVeCurl constructed(*source);
    CVeCurl assigned;
    assigned = *source;
    EXPECT_NE(constructed.GetDownloadData(), source->GetDownloadData());
    source.reset();  // the copies must not point into the destroyed source
    for (CVeCurl* copy : {&constructed, &assigned}) {
        ASSERT_EQ(copy->GetDownloadDataLen(), body.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(copy->GetDownloadData()), copy->GetDownloadDataLen()), body);
        EXPECT_EQ(copy->GetResult_utf8(), body);
    }

    assigned = *&assigned;
    EXPECT_EQ(assigned.GetResult_utf8(), body);

    std::string bad = "ftp://example.com/";
    EXPECT_NE(assigned.OpenUrl_get(bad), 0);
    EXPECT_EQ(assigned.GetDownloadDataLen(), 0u);
    EXPECT_EQ(constructed.GetResult_utf8(), body);
}

TEST(RecordsTest, JsonCopiesTheDocumentAndOfficeHasNothingToCopy) {
    auto source = std::make_unique<VeJson>(R"({"semantic":{"slots":[{"name":"artist","value":"周杰伦"}]}})");
    VeJson copy(*source);
    VeJson assigned("not json");
    EXPECT_FALSE(assigned.IsValid());
    assigned = *source;
    source.reset();
    for (const VeJson* json : {&copy, &assigned}) {
        EXPECT_TRUE(json->IsValid());
        EXPECT_EQ(json->GetBrotherLeaf("semantic^slots^name", "artist", "semantic^slots^value", 2), "周杰伦");
    }
    assigned = *&assigned;
    EXPECT_EQ(assigned.Get("semantic^slots^value"), "周杰伦");

    CVeOffice office;
    CVeOffice other(office);
    EXPECT_EQ(&(other = office), &other);
}

}  // namespace
