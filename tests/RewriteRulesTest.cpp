// The rules that give a text the semantic engine did not understand a meaning: software,
// train tickets, web search, film and song titles. Checked on the document each rule writes
// and, through ProcessM, on the scene it leads to and what the desktop saw.
#include "TestSupport.h"
#include "factory/RewriteRules.h"
#include "host/VeJson.h"
#include "scenes/semantic/SemanticSlots.h"
#include "vescene/CVeSceneFactory.h"

using namespace vetest;

namespace {

// A recognised text the engine gave no meaning, as the dispatcher holds it (GBK).
VeJson NotUnderstood(const std::string& utf8Text, const std::string& extra = "") {
    VeJson doc(("{\"text\":" + Q(utf8Text) + ",\"rc\":4" + extra + "}").c_str());
    doc.Utf8ToUnicode();
    return doc;
}

const std::string kBaidu = "https://www.baidu.com/s?wd=";

class RewriteTest : public SimTest {};

TEST_F(RewriteTest, SoftwareRuleWritesApplicationAndAction) {
    // application nullptr: the rule does not apply.
    const struct { const char* text; const char* application; const char* action; } cases[] = {
        {"打开微信", "微信", "打开"}, {"退出QQ", "QQ", "关闭"}, {"关闭迅雷", "迅雷", "关闭"},
        {"下载网易云音乐", "网易云音乐", "下载"}, {"安装微信", "微信", "下载"}, {"卸载QQ", "QQ", "卸载"},
        // Close comes before download, whatever the order in the text.
        {"下载完了就关闭微信", "微信", "关闭"}, {"安装好迅雷然后退出", "迅雷", "关闭"},
        // Within a group the first name in table order (GBK bytes) wins.
        {"打开迅雷和微信", "微信", "打开"}, {"打开迅雷和网易云音乐", "网易云音乐", "打开"}, {"打开微信和QQ", "QQ", "打开"},
        // A trigger without a known name, or a name without a trigger.
        {"打开记事本", nullptr, nullptr}, {"微信", nullptr, nullptr}, {"qq打开", nullptr, nullptr},
        // The bytes of 迅雷 occur across the characters of 把咐住, the name does not; likewise 安装 in 鞍沧啊.
        {"打开把咐住", nullptr, nullptr}, {"鞍沧啊微信", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sim->ClearTrace();
        VeJson doc = NotUnderstood(c.text);
        EXPECT_EQ(RewriteSoftware(Gbk(c.text), doc), c.application != nullptr);
        EXPECT_EQ(Readable(Trace()), Lines{"CDataFactory::SetNormal(true)"});
        EXPECT_EQ(doc.Get("service"), c.application ? "application" : "");
        EXPECT_EQ(Utf8(SlotValue(doc, "application")), c.application ? c.application : "");
        EXPECT_EQ(Utf8(SlotNormValue(doc, "action")), c.action ? c.action : "");
    }
    VeJson withService = NotUnderstood("打开微信", R"(,"service":"weather")");
    ASSERT_TRUE(RewriteSoftware(Gbk("打开微信"), withService));
    EXPECT_EQ(withService.Get("service"), "weather");
    EXPECT_EQ(Utf8(SlotValue(withService, "application")), "微信");
}

TEST_F(RewriteTest, FirstMatchingRuleDecidesTheSceneThroughProcessM) {
    const std::string kTickets = "https://kyfw.12306.cn/otn/leftTicket/init";
    // opened: the UTF-8 URL; log: the log type of the outcome (28: not carried out).
    const struct { const char* text; const char* scene; std::string opened; int log; } cases[] = {
        // The application scene opens QQ or, not knowing it, searches the web for it.
        {"百度打开QQ", "application", "", 30},       {"安装火车票软件微信", "application", "https://pc.weixin.qq.com/", 30},
        // The train scene, given no route, opens the railway's remaining-tickets page.
        {"我要买火车票", "train", kTickets, 12},     {"查询火车票", "train", kTickets, 12},
        {"打开火车票", "train", kTickets, 12},       {"火车", "rc=4", "", 28},
        {"百度一下周杰伦", "baidusearch", kBaiduJay, 11},
        {"打开搜索北京", "baidusearch", kBaidu + "%E5%8C%97%E4%BA%AC&enc=utf-8", 11},
        {"百度一下", "baidusearch", "https://www.baidu.com/", 11},
        {"搜一下 C++ & Go", "baidusearch", kBaidu + "%20C%2B%2B%20%26%20Go&enc=utf-8", 11},
        {"搜索流浪地球", "baidusearch", kBaidu + "%E6%B5%81%E6%B5%AA%E5%9C%B0%E7%90%83&enc=utf-8", 11},
        // The title rules hand over to the video and music scenes (the song search fails here).
        {"流浪地球", "VELMORA.video", "http://so.iqiyi.com/so/q_%E6%B5%81%E6%B5%AA%E5%9C%B0%E7%90%83", 14},
        {"流浪地球2", "rc=4", "", 28},
        {"稻香", "VELMORA.music", "http://www.kugou.com/yy/html/search.html#searchType=song&searchKeyWord=%E7%A8%BB%E9%A6%99", 15},
        {"今天星期几", "rc=4", "", 28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        sim->ClearTrace();
        CVeSceneFactory factory;
        const std::string input = "{\"text\":" + Q(c.text) + ",\"rc\":4}";
        EXPECT_EQ(factory.ProcessM(input.c_str(), IatAPI_Default, true), c.log == 28 ? ProcessUnhandled : ProcessDone);
        EXPECT_EQ(factory.GetScene(), c.scene);
        // The software rule always runs first, then the utterance is shown and routed; what the
        // chosen scene does in between is its own business.
        sim->WaitForThreads();
        Lines trace;  // the host thread's calls; an unhandled utterance then goes online
        for (const auto& e : Trace())
            if (e.thread == 0 && e.call != "CreateThread" && e.call != "CloseHandle") trace.push_back(e.ToReadable());
        ASSERT_GE(trace.size(), 5u);
        EXPECT_EQ(Lines(trace.begin(), trace.begin() + 4),
                  (Lines{"CDataFactory::SetNormal(true)", "VeUI::InteractiveSet(null, 3)",
                         "VeUI::Tray(" + Q(c.text) + ", 1)",
                         "CAccountData::OpenUserSelf(" + Q(c.text) + ") -> false"}));
        EXPECT_EQ(Opened(), c.opened.empty() ? Lines{} : Lines{c.opened});
        EXPECT_EQ(trace.back(), "VeUI::Log_2(" + Q(c.text) + ", " + std::to_string(c.log) + ")");
    }
}

TEST_F(RewriteTest, SearchKeywordFollowsTheFirstListedPhrase) {
    // keyword nullptr: no phrase.
    const struct { const char* text; const char* keyword; } cases[] = {
        {"百度一下天气", "天气"}, {"百度搜索天气", "天气"}, {"百度打开天气", "天气"},
        // Longer phrases are listed before the phrases they contain.
        {"搜索一下天气", "天气"}, {"查询一下天气", "天气"}, {"搜一下天气", "天气"}, {"查一下天气", "天气"},
        {"找一下天气", "天气"}, {"搜索天气", "天气"}, {"查找天气", "天气"}, {"查询天气", "天气"},
        // List order decides, not the position in the text; the first occurrence counts.
        {"帮我搜索查询一下快递", "快递"}, {"查一下搜索引擎", "搜索引擎"}, {"查找查找文件", "查找文件"},
        {"请帮我查询", ""}, {"天气怎么样", nullptr}, {"搜狗", nullptr},
        // The bytes of 搜索 occur across the characters of 八阉鳌, the phrase does not.
        {"八阉鳌", nullptr}, {"八阉鳌搜索天气", "天气"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        VeJson doc = NotUnderstood(c.text);
        EXPECT_EQ(RewriteWebSearch(Gbk(c.text), doc), c.keyword != nullptr);
        EXPECT_EQ(doc.Get("service"), c.keyword ? "baidusearch" : "");
        EXPECT_EQ(Utf8(doc.Get("velmoraKeyword")), c.keyword ? c.keyword : "");
    }
}

TEST_F(RewriteTest, TrainAndTitleRulesWriteTheirFields) {
    // slot: the slot name holding the text, nullptr for none.
    const struct { const char* text; bool (*rule)(const std::string&, VeJson&); const char* service; const char* slot; }
        cases[] = {
            {"订一张火车票", RewriteTrainTicket, "train", nullptr}, {"动车票还有吗", RewriteTrainTicket, "train", nullptr},
            {"流浪地球", RewriteFilmTitle, "VELMORA.video", "video"}, {"霸王别姬", RewriteFilmTitle, "VELMORA.video", "video"},
            {"稻香", RewriteSongTitle, "VELMORA.music", "song"},      {"后来", RewriteSongTitle, "VELMORA.music", "song"},
        };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        VeJson doc = NotUnderstood(c.text);
        ASSERT_TRUE(c.rule(Gbk(c.text), doc));
        EXPECT_EQ(doc.Get("service"), c.service);
        EXPECT_EQ(Utf8(SlotValue(doc, c.slot ? c.slot : "")), c.slot ? c.text : "");
        EXPECT_EQ(doc.Get("semantic^intent"), c.rule == RewriteFilmTitle ? "video" : "");
    }
    // Titles match only whole.
    for (const char* text : {"流浪地球2", "看流浪地球", "流浪", "霸王别姬 ", "稻香村", "后", "后来的", ""}) {
        SCOPED_TRACE(text);
        VeJson doc = NotUnderstood(text);
        EXPECT_FALSE(RewriteFilmTitle(Gbk(text), doc));
        EXPECT_FALSE(RewriteSongTitle(Gbk(text), doc));
        EXPECT_FALSE(RewriteTrainTicket(Gbk(text), doc));
        EXPECT_EQ(doc.Get("service"), "");
    }
}

}  // namespace
