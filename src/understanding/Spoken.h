#pragma once
// Readers of what the engine normalises in an utterance: dates against the desktop's day, and
// numbers spoken in digits or numerals. Texts are UTF-8.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace understanding {

// The desktop's date, "YYYY-MM-DD"; asked only when an utterance holds a date.
using TodayFn = std::function<std::string()>;

// A date expression at the start of `text` (今天, 后天, 下周五, 这周末, 12月20号, 一月三号 ...): the
// lengths it may take, longest first, each with the engine's normValue of it
// ({"datetime":"2026-12-08","suggestDatetime":"2026-12-08"}). None when it is no date or the
// desktop's date is unusable.
struct SpokenDate {
    size_t length;
    std::string normValue;
};
std::vector<SpokenDate> ReadDates(std::string_view text, const TodayFn& today);

// A run of digits at the start of `text`, ASCII or Chinese (七五三, 幺): its length in bytes
// (0 for none) and `arabic` the ASCII digits.
size_t ReadDigits(std::string_view text, std::string& arabic);

// A number at the start of `text`, ASCII digits or a numeral (二十, 两百, 百分之五十 is not one):
// its length in bytes (0 for none) and `arabic` its value in ASCII digits.
size_t ReadNumber(std::string_view text, std::string& arabic);

}  // namespace understanding
