#include "host/TextMatch.h"

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

}  // namespace

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
