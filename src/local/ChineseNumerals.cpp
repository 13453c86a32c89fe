#include "local/ChineseNumerals.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "platform/TextCodec.h"

namespace numerals {

namespace {

// GBK codes (lead * 256 + trail) of the numeral characters, digits in value order.
constexpr unsigned kDigitCodes[10] = {0xC1E3, 0xD2BB, 0xB6FE, 0xC8FD, 0xCBC4,
                                      0xCEE5, 0xC1F9, 0xC6DF, 0xB0CB, 0xBEC5};
constexpr unsigned kTen = 0xCAAE;
constexpr unsigned kHundred = 0xB0D9;
constexpr unsigned kThousand = 0xC7A7;
constexpr unsigned kTenThousand = 0xCDF2;
constexpr unsigned kHundredMillion = 0xD2DA;

int DigitOf(unsigned code) {
    for (int d = 0; d < 10; ++d)
        if (kDigitCodes[d] == code) return d;
    return -1;
}

bool IsNumeral(unsigned code) {
    return DigitOf(code) >= 0 || code == kTen || code == kHundred || code == kThousand || code == kTenThousand ||
           code == kHundredMillion;
}

unsigned CodeAt(const std::string& gbk, size_t pos) {
    return static_cast<unsigned char>(gbk[pos]) * 256u + static_cast<unsigned char>(gbk[pos + 1]);
}

std::vector<unsigned> CodesOf(const std::string& numeral) {
    std::vector<unsigned> codes(numeral.size() / 2);
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = CodeAt(numeral, 2 * i);
    return codes;
}

// 32-bit two's complement arithmetic, defined for every input.
std::uint32_t U(int v) { return static_cast<std::uint32_t>(v); }
int Wrap(std::uint32_t v) { return static_cast<int>(v); }

}  // namespace

NumberKind ExtractNumber(const std::string& text, std::string& number) {
    size_t start = std::string::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (digit && start == std::string::npos) {
            start = i;
        } else if (!digit && start != std::string::npos) {
            number = text.substr(start, i - start);
            return AsciiDigits;
        }
    }
    if (start != std::string::npos) {
        number = text.substr(start);
        return AsciiDigits;
    }

    // Walked a character at a time: pairing an ASCII byte with the next byte would misread
    // every character after it ("ppt第五页").
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = textcodec::GbkCharLength(text, pos);
        const bool numeral = length == 2 && IsNumeral(CodeAt(text, pos));
        if (numeral && start == std::string::npos) start = pos;
        else if (!numeral && start != std::string::npos) break;
        pos += length ? length : 1;
    }
    if (start == std::string::npos) return NoNumber;
    number = text.substr(start, pos - start);
    return ChineseNumeral;
}

int DigitsToInt(const std::string& digits) {
    std::uint32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        value = value * 10u + static_cast<std::uint32_t>(c - '0');
    }
    return Wrap(value);
}

int NumeralValue(const std::string& numeral) {
    if (numeral.size() / 2 > static_cast<size_t>(std::numeric_limits<int>::max())) return 0;
    const std::vector<unsigned> codes = CodesOf(numeral);
    int value = 0, unit = 1, scale = 1;
    int multiplier = ParseChineseNumeral(codes.data(), 0, static_cast<int>(codes.size()), value, unit, scale);
    return Wrap(U(multiplier > 1 ? multiplier : 0) + U(value));
}

std::string IntToText(int value) { return std::to_string(value); }

std::string ChineseNumeralToDigits(const std::string& numeral) {
    if (numeral.empty() || numeral.size() % 2 != 0) return {};
    std::string found;
    switch (ExtractNumber(numeral, found)) {
        case AsciiDigits: return found;
        case ChineseNumeral: return IntToText(NumeralValue(numeral));
        default: return {};
    }
}

namespace {

// The two arithmetics of the evaluation: 32-bit two's complement, as the host's, and 64-bit
// saturating, which gives the true value of anything below its ceiling.
struct Wrapping {
    using T = std::uint32_t;
    static T Mul(T a, T b) { return a * b; }
    static T Add(T a, T b) { return a + b; }
};
struct Saturating {
    using T = std::uint64_t;
    static T Mul(T a, T b) {
        T product;
        return __builtin_mul_overflow(a, b, &product) ? UINT64_MAX : product;
    }
    static T Add(T a, T b) {
        T sum;
        return __builtin_add_overflow(a, b, &sum) ? UINT64_MAX : sum;
    }
};

template <class A>
int Evaluate(const unsigned* codes, int index, int count, typename A::T& value, typename A::T& unit,
             typename A::T& scale) {
    using T = typename A::T;
    if (index < 0 || count < 0 || index > count || (!codes && count > 0)) return 0;
    // The evaluation is defined right part first, each character then combining what stands
    // to its right; walking the run from its end leftwards gives the same results without
    // one call per character.
    int end = index;
    while (end < count && IsNumeral(codes[end])) ++end;
    if (end == index) return end == count ? 1 : 0;

    T rightValue = 0;                            // value of the part right of position i
    int rightMultiplier = end == count ? 1 : 0;  // what that part returned
    for (int i = end - 1; i >= index; --i) {
        const unsigned code = codes[i];
        T ownValue = rightValue;
        int ownMultiplier = 1;
        if (int digit = DigitOf(code); digit >= 0) {
            ownValue = A::Add(A::Mul(A::Mul(A::Mul(scale, unit), T(digit)), T(rightMultiplier)), rightValue);
        } else if (code == kTen) {
            ownMultiplier = 10;
        } else if (code == kHundred) {
            ownMultiplier = 100;
        } else if (code == kThousand) {
            ownMultiplier = 1000;
        } else if (code == kTenThousand) {
            if (i >= 1 && codes[i - 1] == kTenThousand) {
                scale = A::Mul(scale, 10000u);
                unit = 1;
            } else {
                unit = 10000;
            }
        } else {  // hundred million
            if (i >= 1 && (codes[i - 1] == kHundredMillion || codes[i - 1] == kTenThousand)) {
                unit = 1;
                scale = A::Mul(scale, 100000000u);
            } else {
                unit = 100000000;
            }
        }
        rightValue = ownValue;
        rightMultiplier = ownMultiplier;
    }
    value = rightValue;
    return rightMultiplier;
}

}  // namespace

int ParseChineseNumeral(const unsigned* codes, int index, int count, int& value, int& unit, int& scale) {
    std::uint32_t v = U(value), u = U(unit), s = U(scale);
    const int multiplier = Evaluate<Wrapping>(codes, index, count, v, u, s);
    value = Wrap(v);
    unit = Wrap(u);
    scale = Wrap(s);
    return multiplier;
}

namespace {

// A numeral run as it is spoken, in saturating 64-bit arithmetic: digits, then 十 百 千 within a
// section, 万 and 亿 closing sections. A bare unit counts one of itself (十五, 百万); a digit
// right after 百 or 千 is the next place (一千二 is 1200); digits alone read digit by digit
// (二零二四 is 2024).
std::uint64_t SpokenValue(const std::vector<unsigned>& codes) {
    using S = Saturating;
    std::uint64_t total = 0, section = 0, number = 0;
    unsigned lastUnit = 0;  // the unit just before the current digit, 0 when none
    bool digitRun = false;
    for (const unsigned code : codes) {
        if (const int digit = DigitOf(code); digit >= 0) {
            if (digitRun || digit == 0) lastUnit = 0;  // 一千零二, 一千二三: no place is implied
            number = digitRun ? S::Add(S::Mul(number, 10), digit) : std::uint64_t(digit);
            digitRun = true;
            continue;
        }
        const std::uint64_t unit = code == kTen ? 10 : code == kHundred ? 100 : code == kThousand ? 1000 : 0;
        if (unit) {
            section = S::Add(section, S::Mul(digitRun || number ? number : 1, unit));
        } else {
            section = S::Add(section, number);
            if (section == 0 && total == 0) section = 1;  // 万 alone
            total = code == kTenThousand ? S::Add(total, S::Mul(section, 10000)) : S::Mul(S::Add(total, section), 100000000);
            section = 0;
        }
        lastUnit = unit ? static_cast<unsigned>(unit) : code == kTenThousand ? 10000u : 100000000u;
        number = 0;
        digitRun = false;
    }
    // 一千二, 三万五: a digit right after 百, 千, 万 or 亿 without a unit of its own is the next place.
    if (digitRun && number < 10 && lastUnit >= 100) number = S::Mul(number, lastUnit / 10);
    return S::Add(S::Add(total, section), number);
}

}  // namespace

bool NegativeNumber(const std::string& text) {
    std::string number;
    const NumberKind kind = ExtractNumber(text, number);
    if (kind == NoNumber) return false;
    // The first number's own place: ExtractNumber takes the ASCII digits first, then numerals.
    size_t at = std::string::npos;
    for (size_t pos = 0; pos < text.size() && at == std::string::npos;) {
        if (text.compare(pos, number.size(), number) == 0) at = pos;
        const size_t length = textcodec::GbkCharLength(text, pos);
        pos += length ? length : 1;
    }
    if (at == std::string::npos || at == 0) return false;
    if (text[at - 1] == '-') return true;
    static const std::string kMinus[] = {"\xB8\xBA" /* 负 */, "\xBC\xF5" /* 减 */, "\xA3\xAD" /* full-width minus */};
    for (const auto& minus : kMinus)
        if (at >= minus.size() && text.compare(at - minus.size(), minus.size(), minus) == 0) return true;
    return false;
}

std::optional<int> NumberAtMost(NumberKind kind, const std::string& number, int max) {
    if (kind == AsciiDigits) {
        long long value = 0;
        for (char c : number) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
            if (value > max) return std::nullopt;
        }
        return static_cast<int>(value);
    }
    if (kind != ChineseNumeral || number.size() % 2 != 0 ||
        number.size() / 2 > static_cast<size_t>(std::numeric_limits<int>::max()))
        return std::nullopt;
    const std::uint64_t total = SpokenValue(CodesOf(number));
    if (total > static_cast<std::uint64_t>(max)) return std::nullopt;
    return static_cast<int>(total);
}

}  // namespace numerals
