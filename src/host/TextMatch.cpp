#include "host/TextMatch.h"

#include <cctype>
#include <vector>

#include "host/VeChar.h"
#include "platform/TextCodec.h"

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0 &&
           LastGbkCharStart(text.substr(0, text.size() - end.size() + 1)) == text.size() - end.size();
}

bool CutEnd(std::string_view& text, std::string_view end) {
    if (!EndsWith(text, end)) return false;
    text.remove_suffix(end.size());
    return true;
}

size_t GbkCharCount(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); ++count) {
        const size_t length = textcodec::GbkCharLength(text, pos);
        pos += length ? length : 1;
    }
    return count;
}

// The peoples named in autonomous regions, prefectures, counties and banners (广西壮族自治区,
// 恩施土家族苗族自治州); 维吾尔, 蒙古, 柯尔克孜 and 哈萨克 also stand without 族.
bool CutPeople(std::string_view& name) {
    static const std::string kPeoples[] = {
        GBK("维吾尔"), GBK("蒙古"), GBK("柯尔克孜"), GBK("哈萨克"), GBK("各族"), GBK("壮族"), GBK("回族"), GBK("藏族"),
        GBK("苗族"), GBK("彝族"), GBK("朝鲜族"), GBK("土家族"), GBK("布依族"), GBK("哈尼族"), GBK("蒙古族"), GBK("傣族"),
        GBK("景颇族"), GBK("傈僳族"), GBK("白族"), GBK("侗族"), GBK("黎族"), GBK("羌族"), GBK("瑶族"), GBK("土族"),
        GBK("撒拉族"), GBK("达斡尔族"), GBK("鄂温克族"), GBK("鄂伦春族"), GBK("柯尔克孜族"), GBK("哈萨克族"), GBK("塔吉克族"),
        GBK("锡伯族"), GBK("满族"), GBK("畲族"), GBK("仡佬族"), GBK("毛南族"), GBK("仫佬族"), GBK("水族"), GBK("纳西族"),
        GBK("普米族"), GBK("独龙族"), GBK("怒族"), GBK("拉祜族"), GBK("佤族"), GBK("东乡族"), GBK("保安族"),
        GBK("裕固族"), GBK("京族"), GBK("阿昌族"), GBK("德昂族"), GBK("基诺族"), GBK("布朗族")};
    for (const auto& people : kPeoples)
        if (CutEnd(name, people)) return true;
    return false;
}

// Whether the GBK `text` is made of `words` alone, blanks and punctuation between them.
bool MadeOf(std::string_view text, const std::vector<std::string>& words) {
    std::vector<bool> reached(text.size() + 1, false);
    reached[0] = true;
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (!reached[pos]) continue;
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80 && !std::isalnum(c)) reached[pos + 1] = true;
        for (const auto& word : words)
            if (text.compare(pos, word.size(), word) == 0) reached[pos + word.size()] = true;
    }
    return reached[text.size()];
}

bool StartsWithAny(std::string_view text, const std::vector<std::string>& words) {
    for (const auto& word : words)
        if (text.starts_with(word)) return true;
    return false;
}

bool EndsWithAny(std::string_view text, const std::vector<std::string>& words) {
    for (const auto& word : words)
        if (EndsWith(text, word)) return true;
    return false;
}

// What may stand around a program's name in a request for it.
const std::vector<std::string> kBreaks = {GBK("，"), GBK("、"), GBK("；"), GBK("。"), GBK("！"), GBK("和"),
                                          GBK("跟"), GBK("与"), GBK("及"), GBK("还有"), GBK("然后"), GBK("再"),
                                          GBK("并"), ",", ";", " "};
const std::vector<std::string> kBefore = {
    GBK("请"), GBK("帮我"), GBK("帮忙"), GBK("帮"), GBK("给我"), GBK("替我"), GBK("麻烦"), GBK("你"), GBK("我"),
    GBK("要"), GBK("想"), GBK("用"), GBK("把"), GBK("将"), GBK("马上"), GBK("立刻"), GBK("立即"), GBK("现在"),
    GBK("赶紧"), GBK("快"), GBK("先"), GBK("重新"), GBK("一下"), GBK("下"), GBK("个"), GBK("一个"), GBK("这个"),
    GBK("那个"), GBK("打开"), GBK("开启"), GBK("启动"), GBK("运行"), GBK("进入"), GBK("关闭"), GBK("关掉"),
    GBK("退出"), GBK("结束"), GBK("卸载"), GBK("删除"), GBK("下载"), GBK("安装")};
const std::vector<std::string> kAfter = {
    GBK("吧"), GBK("啊"), GBK("呀"), GBK("了"), GBK("呢"), GBK("哦"), GBK("嘛"), GBK("一下"), GBK("下"),
    GBK("程序"), GBK("软件"), GBK("应用"), GBK("窗口"), GBK("客户端"), GBK("给我"), GBK("谢谢"), GBK("打开"),
    GBK("开启"), GBK("启动"), GBK("运行"), GBK("关闭"), GBK("关掉"), GBK("关了"), GBK("退出"), GBK("卸载"),
    GBK("卸了"), GBK("掉"), GBK("下载"), GBK("安装"), GBK("请"), GBK("马上"), GBK("立刻")};

}  // namespace

bool SaidWhole(std::string_view text, std::string_view name) {
    if (name.empty()) return false;
    for (size_t at = FindGbk(text, name); at != std::string_view::npos;) {
        const std::string_view before = text.substr(0, at), after = text.substr(at + name.size());
        const bool startsWhole = MadeOf(before, kBefore) || EndsWithAny(before, kBreaks) || EndsWith(before, GBK("的"));
        const bool endsWhole = MadeOf(after, kAfter) || StartsWithAny(after, kBreaks);
        if (startsWhole && endsWhole) return true;
        const size_t length = textcodec::GbkCharLength(text, at);
        const size_t from = at + (length ? length : 1);
        const size_t next = FindGbk(text.substr(from), name);
        at = next == std::string_view::npos ? next : from + next;
    }
    return false;
}

bool AsksAQuestion(std::string_view text) {
    static const std::string kAsking[] = {GBK("怎么"), GBK("如何"), GBK("怎样"), GBK("什么"), GBK("为何"),
                                          GBK("吗"), GBK("是否"), GBK("？"), "?"};
    for (const auto& word : kAsking)
        if (ContainsGbk(text, word)) return true;
    return false;
}

std::string_view WithoutPlaceSuffix(std::string_view name) {
    static const std::string kAutonomous[] = {GBK("自治区"), GBK("自治州"), GBK("自治县"), GBK("自治旗")};
    static const std::string kPlain[] = {GBK("特别行政区"), GBK("林区"), GBK("新区"), GBK("地区"),
                                         GBK("市"), GBK("省"), GBK("区"), GBK("县"), GBK("盟"), GBK("旗")};
    std::string_view cut = name;
    bool autonomous = false;
    for (const auto& end : kAutonomous) autonomous = autonomous || CutEnd(cut, end);
    if (autonomous) {
        // 内蒙古自治区 keeps 内蒙古: a people's name is no suffix when it is all that is left.
        for (std::string_view shorter = cut; CutPeople(shorter) && GbkCharCount(shorter) >= 2;) cut = shorter;
    } else {
        for (const auto& end : kPlain)
            if (CutEnd(cut, end)) break;
    }
    // One character left (沙县, 泾县) would be found inside every other word.
    return GbkCharCount(cut) >= 2 ? cut : name;
}

bool SaidIn(std::string_view text, std::string_view name) {
    if (name.empty()) return false;
    return ContainsGbk(text, name) || ContainsGbk(text, WithoutPlaceSuffix(name));
}

size_t FindGbk(std::string_view text, std::string_view part) {
    for (size_t pos = 0; pos + part.size() <= text.size();) {
        if (text.compare(pos, part.size(), part) == 0) return pos;
        size_t length = textcodec::GbkCharLength(text, pos);
        pos += length ? length : 1;
    }
    return std::string_view::npos;
}

bool IsOneOf(const CString& text, std::initializer_list<const char16_t*> phrases) {
    for (const char16_t* phrase : phrases)
        if (text.Compare(phrase) == 0) return true;
    return false;
}

bool ContainsAny(const CString& text, std::initializer_list<const char16_t*> parts) {
    for (const char16_t* part : parts)
        if (text.Find(part) >= 0) return true;
    return false;
}

size_t LastGbkCharStart(std::string_view text) {
    size_t last = text.size();
    for (size_t pos = 0; pos < text.size();) {
        last = pos;
        const size_t length = textcodec::GbkCharLength(text, pos);
        pos += length ? length : 1;
    }
    return last;
}
