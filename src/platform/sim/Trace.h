#pragma once
// The ordered record of every call the library made on the simulated desktop.
#include <optional>
#include <string>
#include <vector>

namespace vesim {

struct TraceValue {
    enum class Kind { Number, Text, Bool, Null };
    Kind kind = Kind::Null;
    long long number = 0;
    std::string text;  // UTF-8

    static TraceValue Num(long long n) { return {Kind::Number, n, {}}; }
    static TraceValue Text(std::string utf8) { return {Kind::Text, 0, std::move(utf8)}; }
    static TraceValue Bool(bool b) { return {Kind::Bool, b ? 1 : 0, {}}; }
    static TraceValue Null() { return {}; }

    bool operator==(const TraceValue& other) const {
        return kind == other.kind && number == other.number && text == other.text;
    }
    std::string ToJson() const;
};

struct TraceEvent {
    std::string call;
    std::vector<TraceValue> args;
    std::optional<TraceValue> result;
    int thread = 0;  // 0: the thread that installed the sim; n: the n-th thread the sim started

    std::string ToJson() const;       // {"call":...,"args":[...],"result":...}
    std::string ToReadable() const;   // call(args) -> result
};

}  // namespace vesim
