#include "local/ChineseNumerals.h"

#include <cstdint>
#include <limits>
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
    std::vector<unsigned> codes(numeral.size() / 2);
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = CodeAt(numeral, 2 * i);
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

int ParseChineseNumeral(const unsigned* codes, int index, int count, int& value, int& unit, int& scale) {
    if (index < 0 || count < 0 || index > count || (!codes && count > 0)) return 0;
    // The evaluation is defined right part first, each character then combining what stands
    // to its right; walking the run from its end leftwards gives the same results without
    // one call per character.
    int end = index;
    while (end < count && IsNumeral(codes[end])) ++end;
    if (end == index) return end == count ? 1 : 0;

    std::uint32_t rightValue = 0;                // value of the part right of position i
    int rightMultiplier = end == count ? 1 : 0;  // what that part returned
    for (int i = end - 1; i >= index; --i) {
        const unsigned code = codes[i];
        std::uint32_t ownValue = rightValue;
        int ownMultiplier = 1;
        if (int digit = DigitOf(code); digit >= 0) {
            ownValue = U(scale) * U(unit) * U(digit) * U(rightMultiplier) + rightValue;
        } else if (code == kTen) {
            ownMultiplier = 10;
        } else if (code == kHundred) {
            ownMultiplier = 100;
        } else if (code == kThousand) {
            ownMultiplier = 1000;
        } else if (code == kTenThousand) {
            if (i >= 1 && codes[i - 1] == kTenThousand) {
                scale = Wrap(U(scale) * 10000u);
                unit = 1;
            } else {
                unit = 10000;
            }
        } else {  // hundred million
            if (i >= 1 && (codes[i - 1] == kHundredMillion || codes[i - 1] == kTenThousand)) {
                unit = 1;
                scale = Wrap(U(scale) * 100000000u);
            } else {
                unit = 100000000;
            }
        }
        rightValue = ownValue;
        rightMultiplier = ownMultiplier;
    }
    value = Wrap(rightValue);
    return rightMultiplier;
}

}  // namespace numerals
