#include "understanding/Understanding.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "core/JsonQuote.h"
#include "host/DataDirectory.h"
#include "platform/DataFile.h"
#include "platform/HostConfigTable.h"
#include "platform/TextCodec.h"

namespace understanding {
namespace {

constexpr int kStepBudget = 20000;                 // per sentence: no template may cost more
constexpr std::uint64_t kMaxTemplateBytes = 1 << 20;
constexpr std::uint64_t kMaxListBytes = 8 << 20;

size_t CharLength(unsigned char lead) { return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

bool IsAsciiWord(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Punctuation and blanks carry nothing a template reads; a blank between two Latin words does.
std::string Normalise(std::string_view text) {
    static constexpr std::string_view kDropped[] = {"，", "。", "！", "？", "、", "；", "：", "“", "”", "‘",
                                                    "’", "（", "）", "《", "》", "…", "—", "～", "·", "\u3000"};
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = std::min(CharLength(static_cast<unsigned char>(text[pos])), text.size() - pos);
        const std::string_view c = text.substr(pos, length);
        pos += length;
        bool dropped = false;
        for (std::string_view mark : kDropped) dropped = dropped || c == mark;
        if (length == 1 && std::string_view(",.!?;:\"'()~\t\r\n").find(c[0]) != std::string_view::npos) dropped = true;
        if (c == " ") dropped = out.empty() || !IsAsciiWord(out.back()) || pos >= text.size() || !IsAsciiWord(text[pos]);
        if (!dropped) out += c;
    }
    return out;
}

struct Capture {
    const std::string* name;
    const WordList* list;
    int row;  // in list->rows, -1 for the built-in readers and wildcards
    size_t begin, end;
    std::string norm;
};

// One utterance against every sentence: the best whole match wins.
class Matcher {
public:
    Matcher(const Grammar& grammar, std::string_view original, std::string_view lower, const TodayFn& today)
        : m_original(original), m_lower(lower), m_today(today), m_present(grammar.needles.size()) {
        // Which required texts occur anywhere: one pass, then each sentence's test is a lookup.
        for (size_t pos = 0; pos < lower.size(); ++pos) {
            if ((static_cast<unsigned char>(lower[pos]) & 0xC0) == 0x80) continue;  // inside a character
            if (!(grammar.needleFirstChars & FirstCharBit(lower.substr(pos)))) continue;
            for (const size_t length : grammar.needleLengths) {
                if (pos + length > lower.size()) continue;
                auto it = grammar.needles.find(lower.substr(pos, length));
                if (it != grammar.needles.end()) m_present[it->second] = 1;
            }
        }
    }

    // True when the sentence matched better than anything before.
    bool Try(const Sentence& sentence, int priority) {
        for (const auto& group : sentence.required)
            if (std::none_of(group.begin(), group.end(), [&](int id) { return m_present[id]; })) return false;
        m_budget = kStepBudget;
        m_improved = false;
        m_priority = priority;
        Cont start{&sentence.root, 0, nullptr};
        Step(0, &start);
        return m_improved;
    }

    bool Found() const { return m_found; }
    const std::vector<Capture>& Best() const { return m_best; }
    std::string_view Said(const Capture& capture) const {
        return m_original.substr(capture.begin, capture.end - capture.begin);
    }

private:
    struct Cont {
        const Node* node;
        size_t index;
        const Cont* next;
    };

    void Step(size_t pos, const Cont* k) {
        if (--m_budget <= 0) return;
        if (!k) {
            if (pos == m_lower.size()) Complete();
            return;
        }
        const Node& node = *k->node;
        switch (node.kind) {
            case Node::Kind::Text:
                if (m_lower.compare(pos, node.text.size(), node.text) == 0) {
                    m_covered += node.text.size();
                    Step(pos + node.text.size(), k->next);
                    m_covered -= node.text.size();
                }
                break;
            case Node::Kind::Seq:
                if (k->index == node.kids.size()) {
                    Step(pos, k->next);
                } else {
                    const Cont rest{&node, k->index + 1, k->next};
                    const Cont first{&node.kids[k->index], 0, &rest};
                    Step(pos, &first);
                }
                break;
            case Node::Kind::Alt:
                for (const Node& kid : node.kids) {
                    const Cont branch{&kid, 0, k->next};
                    Step(pos, &branch);
                }
                break;
            case Node::Kind::List:
                ListStep(node, pos, k->next);
                break;
            case Node::Kind::Words: {
                const std::string_view rest = m_lower.substr(pos);
                const bool maybe = (node.firstChars & FirstCharBit(rest)) != 0;
                for (const size_t length : node.lengths) {
                    if (!maybe || length > rest.size() || !node.words.count(rest.substr(0, length))) continue;
                    m_covered += length;
                    Step(pos + length, k->next);
                    m_covered -= length;
                }
                if (node.optional) Step(pos, k->next);
                break;
            }
        }
    }

    void Take(const Node& node, int row, size_t begin, size_t end, std::string norm, bool covers, const Cont* next) {
        m_captures.push_back(Capture{&node.capture, node.list, row, begin, end, std::move(norm)});
        if (covers) m_covered += end - begin;
        Step(end, next);
        if (covers) m_covered -= end - begin;
        m_captures.pop_back();
    }

    void ListStep(const Node& node, size_t pos, const Cont* next) {
        const WordList& list = *node.list;
        const std::string_view rest = m_lower.substr(pos);
        std::string arabic;
        switch (list.kind) {
            case WordList::Kind::Values:
                // Copied: a deeper step may add to the cache.
                for (const auto& [length, row] : std::vector<std::pair<size_t, int>>(Entries(list, pos)))
                    Take(node, row, pos, pos + length, {}, true, next);
                break;
            case WordList::Kind::Wildcard: {
                size_t end = pos;
                for (size_t chars = 0; chars < list.maxChars && end < m_lower.size(); ++chars) {
                    end = std::min(m_lower.size(), end + CharLength(static_cast<unsigned char>(m_lower[end])));
                    if (m_lower[pos] == ' ' || m_lower[end - 1] == ' ') continue;
                    if (list.asciiOnly && static_cast<unsigned char>(m_lower[end - 1]) >= 0x80) break;
                    const std::string_view said = m_lower.substr(pos, end - pos);
                    bool forbidden = false;
                    for (const std::string& word : list.forbidden) forbidden = forbidden || said.find(word) != said.npos;
                    if (forbidden) continue;
                    Take(node, -1, pos, end, {}, false, next);
                }
                break;
            }
            case WordList::Kind::Date: {
                auto [it, added] = m_dates.try_emplace(pos);
                if (added) it->second = ReadDates(rest, m_cachedToday);
                for (const SpokenDate& date : std::vector<SpokenDate>(it->second))
                    Take(node, -1, pos, pos + date.length, date.normValue, true, next);
                break;
            }
            case WordList::Kind::Digits:
                if (const size_t length = ReadDigits(rest, arabic)) Take(node, -1, pos, pos + length, arabic, true, next);
                break;
            case WordList::Kind::Number:
                if (const size_t length = ReadNumber(rest, arabic)) Take(node, -1, pos, pos + length, arabic, true, next);
                break;
        }
    }

    // The rows of a list that start at `pos`, with their lengths, longest first; each list and
    // place is looked up once per utterance.
    const std::vector<std::pair<size_t, int>>& Entries(const WordList& list, size_t pos) {
        auto [it, added] = m_entries.try_emplace((static_cast<uint64_t>(list.id) << 32) | pos);
        if (!added) return it->second;
        const std::string_view rest = m_lower.substr(pos);
        if (list.firstChars & FirstCharBit(rest))
            for (const size_t length : list.lengths) {
                if (length > rest.size()) continue;
                auto row = list.spoken.find(rest.substr(0, length));
                if (row != list.spoken.end()) it->second.emplace_back(length, row->second);
            }
        std::string arabic;
        if (list.digitsColumn >= 0)
            if (const size_t length = ReadDigits(rest, arabic)) {
                auto row = list.byDigits.find(arabic);
                if (row != list.byDigits.end()) it->second.emplace_back(length, row->second);
            }
        return it->second;
    }

    // More of the text read from templates and lists (less left to wildcards) is the better
    // reading; between equals, the service of higher priority, then the earlier sentence.
    void Complete() {
        if (m_found && (m_covered < m_bestCovered || (m_covered == m_bestCovered && m_priority <= m_bestPriority)))
            return;
        m_found = m_improved = true;
        m_bestCovered = m_covered;
        m_bestPriority = m_priority;
        m_best = m_captures;
    }

    std::string_view m_original, m_lower;
    const TodayFn& m_today;
    std::optional<std::string> m_todayText;
    // The desktop is asked for its date once per utterance at most.
    const TodayFn m_cachedToday = [this] {
        if (!m_todayText) m_todayText = m_today ? m_today() : std::string();
        return *m_todayText;
    };
    std::vector<char> m_present;  // by needle id
    std::unordered_map<uint64_t, std::vector<std::pair<size_t, int>>> m_entries;  // list id, position
    std::unordered_map<size_t, std::vector<SpokenDate>> m_dates;                 // by position
    std::vector<Capture> m_captures, m_best;
    size_t m_covered = 0, m_bestCovered = 0;
    int m_budget = 0, m_priority = 0, m_bestPriority = 0;
    bool m_found = false, m_improved = false;
};

const Capture* Find(const std::vector<Capture>& captures, std::string_view name) {
    for (const Capture& capture : captures)
        if (*capture.name == name) return &capture;
    return nullptr;
}

// "{cap}" is the text as said, "{cap.field}" a field of the list's row; literal text around them
// stays. Empty when a placeholder has nothing to give: the slot is then left out.
std::string Fill(std::string_view pattern, const std::vector<Capture>& captures, const Matcher& matcher) {
    std::string out;
    for (size_t pos = 0; pos < pattern.size();) {
        const size_t open = pattern.find('{', pos);
        const size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
        if (close == std::string_view::npos) {
            out += pattern.substr(pos);
            break;
        }
        out += pattern.substr(pos, open - pos);
        const std::string_view ref = pattern.substr(open + 1, close - open - 1);
        const size_t dot = ref.find('.');
        const Capture* capture = Find(captures, ref.substr(0, dot));
        if (!capture) return {};
        std::string value;
        if (dot == std::string_view::npos) {
            value = std::string(matcher.Said(*capture));
        } else if (const std::string_view field = ref.substr(dot + 1); capture->row < 0) {
            if (field == "norm") value = capture->norm;
        } else if (const int column = capture->list->Column(field); column >= 0) {
            value = capture->list->rows[capture->row][column];
        }
        if (value.empty()) return {};
        out += value;
        pos = close + 1;
    }
    return out;
}

std::string Explain(const Service& service, const Sentence& sentence, const std::vector<Capture>& captures,
                    const Matcher& matcher) {
    std::string out = service.file + ":" + std::to_string(sentence.line) + ": sentence " + sentence.source + "\n";
    for (const Capture& capture : captures) {
        out += "  {" + capture.list->name + (*capture.name == capture.list->name ? "" : ":" + *capture.name) + "} = " +
               std::string(matcher.Said(capture));
        if (capture.row >= 0) {
            const auto& row = capture.list->rows[capture.row];
            for (size_t i = 0; i < row.size(); ++i)
                if (!row[i].empty()) out += " " + capture.list->columns[i] + "=" + row[i];
        } else if (!capture.norm.empty()) {
            out += " norm=" + capture.norm;
        }
        out += "\n";
    }
    return out;
}

}  // namespace

std::optional<Result> Understand(const Grammar& grammar, std::string_view utf8Text, const TodayFn& today, bool explain) {
    if (utf8Text.empty() || utf8Text.size() > kMaxTextBytes || !textcodec::IsValidUtf8(utf8Text)) return std::nullopt;
    const std::string original = Normalise(utf8Text);
    if (original.empty()) return std::nullopt;
    std::string lower = original;
    LowerAscii(lower);

    Matcher matcher(grammar, original, lower, today);
    const Service* bestService = nullptr;
    const Intent* bestIntent = nullptr;
    const Sentence* bestSentence = nullptr;
    for (const Service& service : grammar.services)
        for (const Intent& intent : service.intents)
            for (const Sentence& sentence : intent.sentences)
                if (matcher.Try(sentence, service.priority)) {
                    bestService = &service;
                    bestIntent = &intent;
                    bestSentence = &sentence;
                }
    if (!matcher.Found()) return std::nullopt;

    const std::vector<Capture>& captures = matcher.Best();
    std::string slots;
    // "cap" is there when it matched; "cap.field" when that field is not empty; "a|b" when any is.
    auto present = [&](std::string_view refs) {
        for (size_t start = 0; start <= refs.size();) {
            const size_t bar = std::min(refs.find('|', start), refs.size());
            const std::string ref(refs.substr(start, bar - start));
            if (ref.find('.') == std::string::npos ? Find(captures, ref) != nullptr
                                                   : !Fill("{" + ref + "}", captures, matcher).empty())
                return true;
            start = bar + 1;
        }
        return false;
    };
    for (const SlotSpec& spec : bestIntent->slots) {
        if (!spec.onlyIf.empty() && !present(spec.onlyIf)) continue;
        if (!spec.unless.empty() && present(spec.unless)) continue;
        const std::string value = Fill(spec.value, captures, matcher);
        if (value.empty()) continue;
        std::string slot = "{\"name\":" + JsonQuote(spec.name) + ",\"value\":" + JsonQuote(value);
        if (spec.hasNormValue) {
            const std::string normValue = Fill(spec.normValue, captures, matcher);
            if (!normValue.empty()) slot += ",\"normValue\":" + JsonQuote(normValue);
        }
        slots += (slots.empty() ? "" : ",") + slot + "}";
    }
    Result result;
    result.service = bestService->name;
    result.intent = bestIntent->name;
    result.json = "{\"rc\":0,\"text\":" + JsonQuote(utf8Text) + ",\"service\":" + JsonQuote(result.service) +
                  ",\"semantic\":[{\"intent\":" + JsonQuote(result.intent) + ",\"slots\":[" + slots + "]}]}";
    if (explain) result.explain = Explain(*bestService, *bestSentence, captures, matcher);
    return result;
}

std::shared_ptr<const Grammar> InstalledGrammar() {
    static std::mutex mutex;
    static std::shared_ptr<const Grammar> grammar;
    static std::string loadedFrom;
    const std::string directory = vehost::DataPath("understanding");
    std::lock_guard lock(mutex);
    if (grammar && loadedFrom == directory) return grammar;
    auto read = [&](const std::string& name) {
        const bool isList = name.rfind("lists/", 0) == 0;
        return vefile::ReadDataFile(directory + "/" + name, isList ? kMaxListBytes : kMaxTemplateBytes);
    };
    std::shared_ptr<Grammar> loaded = LoadGrammar(read);
    for (const std::string& problem : loaded->problems) {
        const size_t colon = problem.find(": ");
        vehost::ReportUnusableDataFile("understanding/" + problem.substr(0, colon),
                                       textcodec::Utf8ToUtf16(problem.substr(colon + 2)));
    }
    grammar = std::move(loaded);
    loadedFrom = directory;
    return grammar;
}

namespace {
std::atomic<int> g_enabled{-1};  // -1: as the host's configuration file says
}

void SetEnabled(bool on) { g_enabled = on ? 1 : 0; }

bool Enabled() {
    const int set = g_enabled.load();
    if (set >= 0) return set == 1;
    return vehostconfig::HostFlag("understanding").value_or(false);
}

}  // namespace understanding
