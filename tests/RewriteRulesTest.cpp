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

class RewriteTest : public SimTest {};

TEST_F(RewriteTest, SoftwareRuleWritesApplicationAndAction) {
    // application nullptr: the rule does not apply.
    const struct { const char* text; const char* application; const char* action; } cases[] = {
        {"打开微信", "微信", "打开"}, {"退出QQ", "QQ", "关闭"}, {"下载网易云音乐", "网易云音乐", "下载"},
        {"安装微信", "微信", "下载"}, {"卸载QQ", "QQ", "卸载"},
        {"下载完了就关闭微信", "微信", "关闭"},  // close before download, whatever the order in the text
        // Within a group the longest name said wins, then the first in table order (GBK bytes).
        {"打开迅雷和微信", "微信", "打开"}, {"打开迅雷和网易云音乐", "网易云音乐", "打开"},
        {"打开QQ音乐", "QQ音乐", "打开"}, {"卸载QQ浏览器", "QQ浏览器", "卸载"}, {"关闭QQ音乐", "QQ音乐", "关闭"},
        {"打开记事本", nullptr, nullptr}, {"qq打开", nullptr, nullptr},
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
}

TEST_F(RewriteTest, SearchTrainAndTitleRulesWriteTheirFields) {
    using Rule = bool (*)(const std::string&, VeJson&);
    const char* const kKeyword = "velmoraKeyword";
    const char* const kSlotValue = "semantic^slots^value";
    // service nullptr: the rule does not apply; value: what it writes at path.
    const struct { Rule rule; const char* text; const char* service; const char* path; const char* value; } cases[] = {
        {RewriteWebSearch, "百度打开天气", "baidusearch", kKeyword, "天气"}, {RewriteWebSearch, "查一下天气", "baidusearch", kKeyword, "天气"},
        // Longer phrases are listed before those they contain; list order beats the position in
        // the text, and the first occurrence counts.
        {RewriteWebSearch, "搜索一下天气", "baidusearch", kKeyword, "天气"},
        {RewriteWebSearch, "帮我搜索查询一下快递", "baidusearch", kKeyword, "快递"},
        {RewriteWebSearch, "查一下搜索引擎", "baidusearch", kKeyword, "搜索引擎"},
        {RewriteWebSearch, "查找查找文件", "baidusearch", kKeyword, "查找文件"},
        {RewriteWebSearch, "请帮我查询", "baidusearch", kKeyword, ""}, {RewriteWebSearch, "搜狗", nullptr, kKeyword, ""},
        // The bytes of 搜索 occur across the characters of 八阉鳌, the phrase does not.
        {RewriteWebSearch, "八阉鳌", nullptr, kKeyword, ""}, {RewriteWebSearch, "八阉鳌搜索天气", "baidusearch", kKeyword, "天气"},
        {RewriteTrainTicket, "订一张火车票", "train", kSlotValue, ""}, {RewriteTrainTicket, "动车票还有吗", "train", kSlotValue, ""},
        {RewriteFilmTitle, "霸王别姬", "VELMORA.video", kSlotValue, "霸王别姬"},
        {RewriteSongTitle, "后来", "VELMORA.music", kSlotValue, "后来"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        VeJson doc = NotUnderstood(c.text);
        EXPECT_EQ(c.rule(Gbk(c.text), doc), c.service != nullptr);
        EXPECT_EQ(doc.Get("service"), c.service ? c.service : "");
        EXPECT_EQ(Utf8(doc.Get(c.path)), c.value);
        EXPECT_EQ(doc.Get("semantic^intent"), c.rule == RewriteFilmTitle ? "video" : "");
    }
    // Titles match only whole.
    for (const char* text : {"流浪地球2", "看流浪地球", "霸王别姬 ", "稻香村", ""}) {
        VeJson doc = NotUnderstood(text);
        for (Rule rule : {RewriteFilmTitle, RewriteSongTitle, RewriteTrainTicket}) EXPECT_FALSE(rule(Gbk(text), doc)) << text;
        EXPECT_EQ(doc.Get("service"), "") << text;
    }
}

TEST_F(RewriteTest, FirstMatchingRuleDecidesTheSceneThroughProcessM) {
    const std::string kTickets = "https://kyfw.12306.cn/otn/leftTicket/init";
    // opened: the UTF-8 URL; log: the log type of the outcome (28: not carried out).
    const struct { const char* text; const char* scene; std::string opened; int log; } cases[] = {
        // Software before train before search before titles.
        {"百度打开QQ", "application", "", 30},       {"安装火车票软件微信", "application", "https://pc.weixin.qq.com/", 30},
        // The train scene, given no route, opens the railway's remaining-tickets page.
        {"查询火车票", "train", kTickets, 12},       {"火车", "rc=4", "", 28},
        {"百度一下周杰伦", "baidusearch", kBaiduJay, 11}, {"百度一下", "baidusearch", "https://www.baidu.com/", 11},
        {"百度一下😀", "baidusearch", "https://www.baidu.com/s?wd=%F0%9F%98%80&enc=utf-8", 11},  // every character kept
        {"搜索流浪地球", "baidusearch", "https://www.baidu.com/s?wd=%E6%B5%81%E6%B5%AA%E5%9C%B0%E7%90%83&enc=utf-8", 11},
        // The title rules hand over to the video and music scenes (the song search fails here).
        {"流浪地球", "VELMORA.video", "http://so.iqiyi.com/so/q_%E6%B5%81%E6%B5%AA%E5%9C%B0%E7%90%83", 14},
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
        sim->WaitForThreads();
        EXPECT_EQ(Opened(), c.opened.empty() ? Lines{} : Lines{c.opened});
        EXPECT_EQ(Readable(EventsOf("VeUI::Log_2")), Lines{"VeUI::Log_2(" + Q(c.text) + ", " + std::to_string(c.log) + ")"});
    }
}

}  // namespace
