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

// Copy-constructs and assigns (over `assigned`) from a source that is then destroyed, and
// assigns a copy to itself.
template <class T, class Check>
void ExpectCopies(const T& filled, Check check, T assigned = T()) {
    auto source = std::make_unique<T>(filled);
    T constructed(*source);
    assigned = *source;
    source.reset();  // the copies own their texts and containers
    check(constructed);
    check(assigned);
    assigned = *&assigned;
    check(assigned);
}

TEST(RecordsTest, SettingsRecordsCopyTheirFirstAndLastMembersDeeply) {
    CPreferences p;
    p.m_nWindowLeft = 11;
    p.m_strVersion = u"3.2.1";
    p.m_abyPenKeyBlock[519] = 0xCD;
    p.m_nGestureFlag = 3;
    ExpectCopies(p, [](const CPreferences& c) {
        EXPECT_EQ(c.m_nWindowLeft, 11);
        EXPECT_EQ(c.GetVersion(), u"3.2.1");
        EXPECT_EQ(c.m_abyPenKeyBlock[519], 0xCD);
        EXPECT_EQ(c.GetGestureFlag(), 3);
    });

    CDataFactory data;
    data.m_vecPcSoftware.push_back({u"记事本", u"notepad.exe", u"", 1});
    data.SetCurrentBrightness(70);
    ExpectCopies(data, [](const CDataFactory& c) {
        EXPECT_EQ(c.m_vecPcSoftware.at(0).target, u"notepad.exe");
        EXPECT_EQ(c.GetCurrentBrightness(), 70);
    });

    CVeProxySet proxy;
    proxy.m_eProxyType = VeProxyType_Socks5;
    proxy.m_strBypass = "localhost";
    ExpectCopies(proxy, [](const CVeProxySet& c) {
        EXPECT_EQ(c.GetProxyType(), VeProxyType_Socks5);
        EXPECT_EQ(c.m_strBypass, "localhost");
    });

    CSubtitleSet subtitle;
    subtitle.m_strRecordName = u"会议记录";
    ExpectCopies(subtitle, [](const CSubtitleSet& c) { EXPECT_EQ(c.GetRecordName(), u"会议记录"); });

    CAccountData account;
    account.m_mapUserCommands[u"打开报表"] = {u"打开报表", u"D:\\报表.xlsx", 1};
    ExpectCopies(account,
                 [](const CAccountData& c) { EXPECT_EQ(c.m_mapUserCommands.at(u"打开报表").target, u"D:\\报表.xlsx"); });

    CVeAccount accounts;
    accounts.m_mapAccountsById["1"] = {"1", u"甲", "t1"};
    ExpectCopies(accounts, [](const CVeAccount& c) { EXPECT_EQ(c.m_mapAccountsById.at("1").token, "t1"); });

    CAiManager ai;
    ai.m_vecHistory = {u"你好", u"讲个笑话"};
    ExpectCopies(ai, [](const CAiManager& c) { EXPECT_EQ(c.m_vecHistory.size(), 2u); });

    CVeOffice office;
    EXPECT_EQ(&(office = *&office), &office);
}

TEST(RecordsTest, LanguageNamesTheTranslationTargetOnlyWhenItExists) {
    CLanguage language;
    language.m_vecLanguages = {{u"英语", "en", 1}, {u"日语", "ja", 2}};
    language.m_nScreenTranslate_Ch_En = 1;
    const struct { int index; const char16_t* name; } cases[] = {{1, u"日语"}, {2, u""}, {-1, u""}, {1 << 30, u""}};
    for (const auto& c : cases) {
        language.m_nVoiceTranslate_Dst = c.index;
        ExpectCopies(language, [&](const CLanguage& copy) {
            EXPECT_EQ(copy.GetVoiceTranslateChineseName_Dst(), c.name) << c.index;
            EXPECT_EQ(copy.GetScreenTranslate_Ch_En(), 1);
        });
    }
}

TEST(RecordsTest, CurlCopiesOwnTheirDownloadedBytes) {
    const std::string body = R"({"text":"周杰伦的歌，足够长以免落在短字符串缓冲里"})";
    vetest::LoopbackServer server([&](const std::string&) { return vetest::Http(200, body); });
    auto source = std::make_unique<CVeCurl>();
    std::string url = server.Url("/ok");
    ASSERT_EQ(source->OpenUrl_get(url), 0);

    CVeCurl constructed(*source);
    CVeCurl assigned;
    assigned = *source;
    EXPECT_NE(constructed.GetDownloadData(), source->GetDownloadData());
    source.reset();  // the copies must not point into the destroyed source
    assigned = *&assigned;
    for (CVeCurl* copy : {&constructed, &assigned}) {
        ASSERT_EQ(copy->GetDownloadDataLen(), body.size());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(copy->GetDownloadData()), copy->GetDownloadDataLen()), body);
    }

    std::string bad = "ftp://example.com/";
    EXPECT_NE(assigned.OpenUrl_get(bad), 0);
    EXPECT_EQ(assigned.GetDownloadDataLen(), 0u);
    EXPECT_EQ(constructed.GetResult_utf8(), body);
}

TEST(RecordsTest, JsonCopiesTheDocument) {
    VeJson filled(R"({"semantic":{"slots":[{"name":"artist","value":"周杰伦"}]}})");
    ExpectCopies(filled, [](const VeJson& json) {
        EXPECT_TRUE(json.IsValid());
        EXPECT_EQ(json.GetBrotherLeaf("semantic^slots^name", "artist", "semantic^slots^value", 2), "周杰伦");
    }, VeJson("not json"));
}

}  // namespace
