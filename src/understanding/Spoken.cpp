#include "understanding/Spoken.h"

#include <array>
#include <cstdio>
#include <optional>

#include "local/ChineseNumerals.h"
#include "platform/TextCodec.h"

namespace understanding {
namespace {

constexpr size_t kCjk = 3;  // bytes of a character of the basic plane's CJK block in UTF-8

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The digit a character stands for when digits are read one by one, -1 for none.
int DigitOf(std::string_view c) {
    static constexpr std::array<std::pair<std::string_view, int>, 12> kDigits{{{"零", 0}, {"〇", 0}, {"一", 1}, {"幺", 1},
        {"二", 2}, {"三", 3}, {"四", 4}, {"五", 5}, {"六", 6}, {"七", 7}, {"八", 8}, {"九", 9}}};
    for (const auto& [name, digit] : kDigits)
        if (c == name) return digit;
    return -1;
}

bool IsNumeralChar(std::string_view c) {
    return DigitOf(c) >= 0 || c == "十" || c == "百" || c == "千" || c == "万" || c == "两";
}

// A number from 0 to 9999 at the start of the text.
std::optional<int> SmallNumber(std::string_view text, size_t& length) {
    std::string arabic;
    length = ReadNumber(text, arabic);
    if (length == 0 || arabic.size() > 4) return std::nullopt;
    return std::atoi(arabic.c_str());
}

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

std::string CivilText(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = static_cast<long long>(yoe) + era * 400 + (m <= 2);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", y, m, d);
    return text;
}

bool ValidDate(int y, int m, int d) {
    if (m < 1 || m > 12 || d < 1 || d > 31) return false;
    return CivilText(DaysFromCivil(y, m, d)) == [&] {
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
        return std::string(text);
    }();
}

struct Today {
    int year = 0;
    long long days = 0;
    int weekday = 0;  // 1 Monday .. 7 Sunday
};

std::optional<Today> ParseToday(const std::string& iso) {
    int y = 0, m = 0, d = 0;
    if (iso.size() < 10 || std::sscanf(iso.c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3 || y < 1900 || !ValidDate(y, m, d))
        return std::nullopt;
    Today today{y, DaysFromCivil(y, m, d), 0};
    today.weekday = static_cast<int>(((today.days % 7 + 7) % 7 + 3) % 7) + 1;  // 1970-01-01 was a Thursday
    return today;
}

std::string DayNorm(long long days) {
    const std::string day = CivilText(days);
    return "{\"datetime\":\"" + day + "\",\"suggestDatetime\":\"" + day + "\"}";
}

std::string RangeNorm(long long first, long long last) {
    const std::string range = CivilText(first) + "/" + CivilText(last);
    return "{\"datetime\":\"" + range + "\",\"suggestDatetime\":\"" + range + "\"}";
}

// 下周五, 这个星期天, 周末, 礼拜三: the day, or the weekend's first and last day.
std::optional<SpokenDate> WeekDay(std::string_view text, const Today& today) {
    size_t pos = 0;
    int weeks = 0;
    bool said = false;
    for (auto [prefix, shift] : {std::pair<std::string_view, int>{"下下个", 2}, {"下下", 2}, {"下个", 1}, {"下", 1},
                                 {"这个", 0}, {"这", 0}, {"本", 0}, {"上个", -1}, {"上", -1}}) {
        if (StartsWith(text, prefix)) {
            pos = prefix.size();
            weeks = shift;
            said = true;
            break;
        }
    }
    bool unit = false;
    for (std::string_view word : {"星期", "礼拜", "周"}) {
        if (StartsWith(text.substr(pos), word)) {
            pos += word.size();
            unit = true;
            break;
        }
    }
    if (!unit || pos + kCjk > text.size()) return std::nullopt;
    const std::string_view c = text.substr(pos, kCjk);
    // On a Sunday the week people plan is the one that starts tomorrow, as the engine reads it.
    const long long thisMonday = today.weekday == 7 ? today.days + 1 : today.days - (today.weekday - 1);
    const long long monday = thisMonday + 7LL * weeks;
    if (c == "末") return SpokenDate{pos + kCjk, RangeNorm(monday + 5, monday + 6)};
    int day = DigitOf(c);
    if (c == "日" || c == "天") day = 7;
    if (day < 1 || day > 7) return std::nullopt;
    long long days = monday + day - 1;
    // A bare 周五 that has passed this week is next week's.
    if (!said && days < today.days) days += 7;
    return SpokenDate{pos + kCjk, DayNorm(days)};
}

// 12月20号, 十二月二十日, 2027年1月3号, 明年一月三号, 20号.
std::optional<SpokenDate> MonthDay(std::string_view text, const Today& today) {
    size_t pos = 0, length = 0;
    int year = today.year;
    bool yearSaid = false;
    if (StartsWith(text, "今年")) pos = 2 * kCjk, yearSaid = true;
    else if (StartsWith(text, "明年")) pos = 2 * kCjk, year += 1, yearSaid = true;
    else if (auto y = SmallNumber(text, length); y && *y >= 1900 && StartsWith(text.substr(length), "年"))
        pos = length + kCjk, year = *y, yearSaid = true;
    int month = 0;
    if (auto m = SmallNumber(text.substr(pos), length); m && StartsWith(text.substr(pos + length), "月")) {
        month = *m;
        pos += length + kCjk;
    } else if (yearSaid) {
        return std::nullopt;
    }
    auto d = SmallNumber(text.substr(pos), length);
    if (!d) return std::nullopt;
    pos += length;
    if (StartsWith(text.substr(pos), "号") || StartsWith(text.substr(pos), "日")) pos += kCjk;
    else return std::nullopt;
    int y = year, m = month ? month : 0;
    if (!m) {
        // A bare day is this month's, or next month's once it has passed.
        const std::string now = CivilText(today.days);
        m = std::atoi(now.substr(5, 2).c_str());
        if (*d < std::atoi(now.substr(8, 2).c_str()) && ++m > 12) m = 1, ++y;
    } else if (!yearSaid && DaysFromCivil(y, m, *d) < today.days) {
        ++y;  // 一月三号 said in December is next year's
    }
    if (!ValidDate(y, m, *d)) return std::nullopt;
    return SpokenDate{pos, DayNorm(DaysFromCivil(y, m, *d))};
}

}  // namespace

size_t ReadDigits(std::string_view text, std::string& arabic) {
    arabic.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] >= '0' && text[pos] <= '9') {
            arabic += text[pos++];
            continue;
        }
        const int digit = pos + kCjk <= text.size() ? DigitOf(text.substr(pos, kCjk)) : -1;
        if (digit < 0) break;
        arabic += static_cast<char>('0' + digit);
        pos += kCjk;
    }
    return pos;
}

size_t ReadNumber(std::string_view text, std::string& arabic) {
    arabic.clear();
    size_t pos = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
    if (pos > 0) {
        if (pos > 9) return 0;  // no count or level is that long
        arabic = std::string(text.substr(0, pos));
        return pos;
    }
    std::string numeral;
    while (pos + kCjk <= text.size() && IsNumeralChar(text.substr(pos, kCjk))) {
        const std::string_view c = text.substr(pos, kCjk);
        numeral += c == "两" ? "二" : std::string(c);
        pos += kCjk;
    }
    if (pos == 0 || pos > 8 * kCjk) return 0;
    arabic = numerals::ChineseNumeralToDigits(textcodec::Utf8ToGbk(numeral));
    if (arabic.empty()) return 0;
    return pos;
}

std::vector<SpokenDate> ReadDates(std::string_view text, const TodayFn& today) {
    static constexpr std::array<std::pair<std::string_view, int>, 11> kRelative{{{"大后天", 3}, {"后天", 2},
        {"明天", 1}, {"明日", 1}, {"明儿", 1}, {"今天", 0}, {"今日", 0}, {"今儿", 0}, {"大前天", -3}, {"前天", -2}, {"昨天", -1}}};
    // Most texts hold no date: the desktop is asked only when one starts here.
    const char* kStarts[] = {"大", "后", "明", "今", "前", "昨", "下", "这", "本", "上", "星", "礼", "周"};
    bool maybe = !text.empty() && ((text[0] >= '0' && text[0] <= '9') || IsNumeralChar(text.substr(0, kCjk)));
    for (const char* start : kStarts) maybe = maybe || StartsWith(text, start);
    if (!maybe || !today) return {};
    const std::optional<Today> now = ParseToday(today());
    if (!now) return {};
    for (const auto& [word, shift] : kRelative)
        if (StartsWith(text, word)) return {SpokenDate{word.size(), DayNorm(now->days + shift)}};
    if (auto date = WeekDay(text, *now)) return {*date};
    if (auto date = MonthDay(text, *now)) return {*date};
    return {};
}

}  // namespace understanding
