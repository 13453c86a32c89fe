#pragma once
// The reference online service's answers: rules read from a text file, the first rule whose
// pattern matches the whole utterance giving the reply. No HTTP and no library beyond the
// standard one, so the tests (Windows builds included) use it directly.
//
// Rule file (UTF-8), one rule per line; blank lines and lines starting with '#' are skipped:
//
//     pattern | scene | message | name=value; name=value
//
// - pattern: the whole utterance, where '*' stands for any run of characters (possibly none)
//   and is captured as $1, $2, ... in order. Latin letters compare without case.
// - scene, message, entities: the reply's "scene", "message" and "content"/"entities". Only
//   pattern and scene are required. In message and values, $N is the Nth capture and $uN the
//   same percent-encoded as UTF-8 (for search URLs); $$ is one '$'.
// - A backslash before '|', ';', '=', '$' or another backslash takes that character
//   literally; any other backslash stays (so "\n" in a chat answer reaches the client as it is).
// - An entity named "action" also carries the leaf "action":"action", which is how the
//   website reply marks the spoken request.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/JsonQuote.h"

namespace nolt {

struct Entity {
    std::string name;
    std::string value;
};

struct Reply {
    std::string scene;
    std::string message;
    std::vector<Entity> entities;
};

// Matches the whole text; on success `captures` holds what each '*' took, in order. Backtracks
// only to the latest '*', so the time is bounded by pattern length times text length.
inline bool MatchPattern(std::string_view pattern, std::string_view text, std::vector<std::string>& captures) {
    const auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    std::vector<std::size_t> begins, ends;
    std::size_t p = 0, t = 0;
    std::size_t starP = std::string_view::npos, starT = 0, star = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = begins.size();
            begins.push_back(t);
            ends.push_back(t);
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && same(pattern[p], text[t])) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            // Give the latest '*' one more byte and match the rest again after it.
            p = starP + 1;
            t = ++starT;
            ends[star] = t;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        begins.push_back(t);
        ends.push_back(t);
        ++p;
    }
    if (p != pattern.size()) return false;
    captures.clear();
    for (std::size_t i = 0; i < begins.size(); ++i)
        captures.emplace_back(text.substr(begins[i], ends[i] - begins[i]));
    return true;
}

// Unreserved characters stay; every other byte becomes %XX.
inline std::string UrlEncode(std::string_view text) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

inline bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1, code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2, code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3, code = c & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (extra == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

inline std::string ToJson(const Reply& reply) {
    if (reply.message.empty() && reply.entities.empty()) return "{\"scene\":" + JsonQuote(reply.scene) + "}";
    std::string out = "{\"scene\":" + JsonQuote(reply.scene) + ",\"message\":" + JsonQuote(reply.message) +
                      ",\"content\":{\"entities\":[";
    for (std::size_t i = 0; i < reply.entities.size(); ++i) {
        const Entity& e = reply.entities[i];
        out += (i ? ",{" : "{");
        out += "\"entity\":" + JsonQuote(e.name);
        if (e.name == "action") out += ",\"action\":\"action\"";
        out += ",\"value\":" + JsonQuote(e.value) + "}";
    }
    return out + "]}}";
}

class RuleSet {
public:
    // Replaces the rules by those of `text`; false, with the line and the fault in `error`,
    // when a line is malformed (the rules loaded before stay then).
    bool Load(std::string_view text, std::string& error) {
        std::vector<Rule> rules;
        int number = 0;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
            ++number;
            if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
            line = Trim(line);
            if (line.empty() || line.front() == '#') continue;
            Rule rule;
            std::string fault = ParseRule(line, rule);
            if (fault.empty() && !IsValidUtf8(line)) fault = "not UTF-8";
            if (!fault.empty()) {
                error = "line " + std::to_string(number) + ": " + fault;
                return false;
            }
            rules.push_back(std::move(rule));
        }
        m_rules = std::move(rules);
        return true;
    }

    // The reply of the first rule matching the utterance (blanks around it ignored), else
    // the "nothing" reply. Text that is not UTF-8 matches nothing.
    Reply Answer(std::string_view utf8Text) const {
        utf8Text = Trim(utf8Text);
        if (IsValidUtf8(utf8Text)) {
            std::vector<std::string> captures;
            for (const Rule& rule : m_rules) {
                if (!MatchPattern(rule.pattern, utf8Text, captures)) continue;
                Reply reply{rule.scene, Expand(rule.message, captures), {}};
                for (const auto& [name, value] : rule.entities) reply.entities.push_back({name, Expand(value, captures)});
                return reply;
            }
        }
        return Reply{"nothing", "", {}};
    }

    std::size_t size() const { return m_rules.size(); }

private:
    struct Rule {
        std::string pattern;
        std::string scene;
        std::string message;
        std::vector<std::pair<std::string, std::string>> entities;
    };

    static std::string_view Trim(std::string_view s) {
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
        return s;
    }

    static bool Escapable(char c) { return c == '|' || c == ';' || c == '=' || c == '$' || c == '\\'; }

    static std::string ParseRule(std::string_view line, Rule& rule) {
        // Escapes stay in message and values until Expand, so captures and separators keep apart.
        std::vector<std::string> fields = SplitKeeping(line, '|');
        if (fields.size() < 2 || fields.size() > 4) return "expected: pattern | scene [| message [| entities]]";
        rule.pattern = Unescape(fields[0]);
        rule.scene = Unescape(fields[1]);
        if (rule.pattern.empty() || rule.scene.empty()) return "empty pattern or scene";
        if (fields.size() > 2) rule.message = fields[2];
        if (fields.size() > 3 && !fields[3].empty()) {
            for (const std::string& pair : SplitKeeping(fields[3], ';')) {
                if (pair.empty()) continue;
                std::vector<std::string> nameValue = SplitKeeping(pair, '=');
                if (nameValue.size() != 2 || nameValue[0].empty()) return "entity without name=value: " + pair;
                rule.entities.emplace_back(Unescape(nameValue[0]), nameValue[1]);
            }
        }
        const std::size_t stars = static_cast<std::size_t>(std::count(rule.pattern.begin(), rule.pattern.end(), '*'));
        std::string fault = CheckCaptures(rule.message, stars);
        for (const auto& entity : rule.entities)
            if (fault.empty()) fault = CheckCaptures(entity.second, stars);
        return fault;
    }

    // Like Split, but every escape stays as it was written.
    static std::vector<std::string> SplitKeeping(std::string_view s, char separator) {
        std::vector<std::string> parts(1);
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\\' && i + 1 < s.size() && Escapable(s[i + 1])) {
                parts.back() += s[i];
                parts.back() += s[++i];
            } else if (s[i] == separator) {
                parts.emplace_back();
            } else {
                parts.back() += s[i];
            }
        }
        for (auto& part : parts) part = std::string(Trim(part));
        return parts;
    }

    // Every escape resolved (names, pattern and scene have no captures).
    static std::string Unescape(std::string_view s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\\' && i + 1 < s.size() && Escapable(s[i + 1])) ++i;
            out += s[i];
        }
        return out;
    }

    static std::string CheckCaptures(std::string_view s, std::size_t stars) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\\' && i + 1 < s.size() && Escapable(s[i + 1])) {
                ++i;
            } else if (s[i] == '$') {
                std::size_t k = i + 1;
                if (k < s.size() && s[k] == '$') {
                    i = k;
                    continue;
                }
                if (k < s.size() && s[k] == 'u') ++k;
                if (k >= s.size() || s[k] < '1' || s[k] > '9') return "'$' without a capture number";
                if (static_cast<std::size_t>(s[k] - '0') > stars)
                    return "$" + std::string(1, s[k]) + " but the pattern has " + std::to_string(stars) + " '*'";
                i = k;
            }
        }
        return {};
    }

    // Captures put in, escapes resolved. Load has checked every "$N" against the pattern.
    static std::string Expand(std::string_view s, const std::vector<std::string>& captures) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\\' && i + 1 < s.size() && Escapable(s[i + 1])) {
                out += s[++i];
            } else if (s[i] == '$' && i + 1 < s.size() && s[i + 1] == '$') {
                out += '$';
                ++i;
            } else if (s[i] == '$') {
                const bool encode = s[i + 1] == 'u';
                const std::size_t k = i + (encode ? 2 : 1);
                const std::string& capture = captures.at(static_cast<std::size_t>(s[k] - '1'));
                out += encode ? UrlEncode(capture) : capture;
                i = k;
            } else {
                out += s[i];
            }
        }
        return out;
    }

    std::vector<Rule> m_rules;
};

}  // namespace nolt
