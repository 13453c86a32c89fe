#pragma once
// Numbers in spoken commands, over GBK text: a run of ASCII digits or of Chinese numerals
// (零 一 ... 九, 十 百 千 万 亿), and their values. Values wrap to 32 bits (two's complement),
// as the host's arithmetic does.
#include <optional>
#include <string>

namespace numerals {

enum NumberKind : int { NoNumber = 0, AsciiDigits = 1, ChineseNumeral = 2 };

// The first number in `gbkText`: the first run of ASCII digits if there is one, else the first
// run of numeral characters. `number` is left alone when there is none.
NumberKind ExtractNumber(const std::string& gbkText, std::string& number);

// Value of ASCII digits; 0 when any other character is among them.
int DigitsToInt(const std::string& digits);

// Value of a run of numeral characters (GBK, even length) as ParseChineseNumeral evaluates it.
int NumeralValue(const std::string& gbkNumeral);

// The true value of a number found by ExtractNumber, none when it is above `max` or is no
// number: for what must never wrap (a volume level, a page to type). A numeral run is read as
// people say it: 十一万 is 110000, 百万 1000000, 十亿 1000000000, 一千二 1200.
std::optional<int> NumberAtMost(NumberKind kind, const std::string& number, int max);

// Whether the first number of the GBK text has a minus sign before it (-5, 负五, 减三).
bool NegativeNumber(const std::string& gbkText);

// Decimal text of a value ("%d").
std::string IntToText(int value);

// The digits of a numeral run's value ("十五" -> "15"); the digits themselves for ASCII digits;
// empty for an odd length or text with no number.
std::string ChineseNumeralToDigits(const std::string& gbkNumeral);

// The evaluation of the run of numeral characters that starts at codes[index] (GBK codes,
// lead * 256 + trail, `count` of them): right part first, each character combining what
// stands to its right. `value` receives the run's value; `unit` and `scale` carry the 万 and
// 亿 multipliers between the steps. Returns the multiplier of the run's first character (10,
// 100 or 1000 for 十 百 千, else 1); for an empty run 1 at the end of the codes, else 0, and
// 0 for arguments out of range.
int ParseChineseNumeral(const unsigned* codes, int index, int count, int& value, int& unit, int& scale);

}  // namespace numerals
