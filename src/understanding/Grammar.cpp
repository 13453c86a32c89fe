#include "understanding/Grammar.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace understanding {
namespace {

constexpr int kMaxRuleDepth = 16;

// A problem in one file; the loader turns it into the file's warning.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.push_back(Trim(text.substr(0, at)));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

// Words separated by blanks; `key=value` words are options.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::string_view word : Split(text, ' '))
        if (!word.empty()) words.push_back(word);
    return words;
}

// The names a file defines, over those of the common file.
struct Scope {
    std::map<std::string, std::string, std::less<>> rules;
    std::map<std::string, const WordList*, std::less<>> lists;
    const Scope* outer = nullptr;

    const std::string* Rule(std::string_view name) const {
        if (auto it = rules.find(name); it != rules.end()) return &it->second;
        return outer ? outer->Rule(name) : nullptr;
    }
    const WordList* List(std::string_view name) const {
        if (auto it = lists.find(name); it != lists.end()) return it->second;
        return outer ? outer->List(name) : nullptr;
    }
};

class TemplateParser {
public:
    TemplateParser(const Scope& scope, int depth) : m_scope(scope), m_depth(depth) {}

    Node Parse(std::string_view text) {
        m_text = text;
        m_pos = 0;
        Node node = Alternatives(0);
        if (m_pos < m_text.size()) throw FileError(std::string("unmatched ") + m_text[m_pos]);
        return node;
    }

private:
    Node Alternatives(char close) {
        Node alt{Node::Kind::Alt};
        alt.kids.push_back(Sequence(close));
        while (m_pos < m_text.size() && m_text[m_pos] == '|') {
            ++m_pos;
            alt.kids.push_back(Sequence(close));
        }
        if (close) {
            if (m_pos >= m_text.size() || m_text[m_pos] != close) throw FileError(std::string("missing ") + close);
            ++m_pos;
        }
        if (alt.kids.size() == 1) return std::move(alt.kids.front());
        return alt;
    }

    Node Sequence(char close) {
        Node seq{Node::Kind::Seq};
        auto literal = [&](char c) {
            if (seq.kids.empty() || seq.kids.back().kind != Node::Kind::Text) seq.kids.push_back(Node(Node::Kind::Text));
            seq.kids.back().text += c;
        };
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '|' || c == ')' || c == ']') {
                if (!close) throw FileError(std::string("unmatched ") + c);
                break;
            }
            ++m_pos;
            if (c == ' ' || c == '\t') continue;
            if (c == '(') {
                seq.kids.push_back(Alternatives(')'));
            } else if (c == '[') {
                Node optional = Alternatives(']');
                if (optional.kind != Node::Kind::Alt) {
                    Node alt{Node::Kind::Alt};
                    alt.kids.push_back(std::move(optional));
                    optional = std::move(alt);
                }
                optional.kids.push_back(Node(Node::Kind::Seq));
                seq.kids.push_back(std::move(optional));
            } else if (c == '{') {
                const std::string_view inner = Until('}');
                const size_t colon = inner.find(':');
                const std::string_view name = inner.substr(0, colon);
                const WordList* list = m_scope.List(name);
                if (!list) throw FileError("unknown list {" + std::string(name) + "}");
                Node node{Node::Kind::List};
                node.list = list;
                node.capture = std::string(colon == std::string_view::npos ? name : inner.substr(colon + 1));
                seq.kids.push_back(std::move(node));
            } else if (c == '<') {
                const std::string_view name = Until('>');
                const std::string* rule = m_scope.Rule(name);
                if (!rule) throw FileError("unknown rule <" + std::string(name) + ">");
                if (m_depth >= kMaxRuleDepth) throw FileError("rules nest too deep at <" + std::string(name) + ">");
                seq.kids.push_back(TemplateParser(m_scope, m_depth + 1).Parse(*rule));
            } else if (c == '}' || c == '>') {
                throw FileError(std::string("unmatched ") + c);
            } else {
                literal(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
            }
        }
        return seq;
    }

    std::string_view Until(char close) {
        const size_t end = m_text.find(close, m_pos);
        if (end == std::string_view::npos) throw FileError(std::string("missing ") + close);
        std::string_view inner = Trim(m_text.substr(m_pos, end - m_pos));
        m_pos = end + 1;
        if (inner.empty()) throw FileError(std::string("an empty name before ") + close);
        return inner;
    }

    const Scope& m_scope;
    int m_depth;
    std::string_view m_text;
    size_t m_pos = 0;
};

void AddLength(std::vector<size_t>& lengths, size_t length) {
    if (std::find(lengths.begin(), lengths.end(), length) != lengths.end()) return;
    lengths.push_back(length);
    std::sort(lengths.rbegin(), lengths.rend());
}

// Sequences inside sequences are spliced, single-element sequences are their element, and
// alternatives of plain words become Words nodes: fewer steps for the matcher.
void Simplify(Node& node) {
    for (Node& kid : node.kids) Simplify(kid);
    if (node.kind == Node::Kind::Seq) {
        std::vector<Node> kids;
        for (Node& kid : node.kids) {
            if (kid.kind != Node::Kind::Seq) {
                kids.push_back(std::move(kid));
                continue;
            }
            for (Node& grandchild : kid.kids) kids.push_back(std::move(grandchild));
        }
        node.kids = std::move(kids);
    }
    if (node.kind == Node::Kind::Seq && node.kids.size() == 1) {
        Node only = std::move(node.kids.front());
        node = std::move(only);
        return;
    }
    if (node.kind != Node::Kind::Alt) return;
    for (const Node& kid : node.kids)
        if (kid.kind != Node::Kind::Text && !(kid.kind == Node::Kind::Seq && kid.kids.empty())) return;
    Node words(Node::Kind::Words);
    for (const Node& kid : node.kids) {
        if (kid.kind == Node::Kind::Seq) {
            words.optional = true;
            continue;
        }
        words.words.emplace(kid.text, 0);
        words.firstChars |= FirstCharBit(kid.text);
        AddLength(words.lengths, kid.text.size());
    }
    node = std::move(words);
}

// What every match of `node` contains: one text of each group. An alternative contributes a
// group when each of its branches has one to give.
std::vector<std::vector<std::string>> RequiredTexts(const Node& node) {
    std::vector<std::vector<std::string>> groups;
    switch (node.kind) {
        case Node::Kind::Text:
            groups.push_back({node.text});
            break;
        case Node::Kind::Seq:
            for (const Node& kid : node.kids)
                for (auto& group : RequiredTexts(kid)) groups.push_back(std::move(group));
            break;
        case Node::Kind::Alt: {
            std::vector<std::string> any;
            for (const Node& kid : node.kids) {
                auto kidGroups = RequiredTexts(kid);
                if (kidGroups.empty()) return {};
                // The shortest group of a branch is its cheapest test.
                auto shortest = std::min_element(kidGroups.begin(), kidGroups.end(),
                                                 [](const auto& a, const auto& b) { return a.size() < b.size(); });
                any.insert(any.end(), shortest->begin(), shortest->end());
            }
            groups.push_back(std::move(any));
            break;
        }
        case Node::Kind::Words:
            if (!node.optional) {
                std::vector<std::string> any;
                for (const auto& [word, unused] : node.words) any.push_back(word);
                groups.push_back(std::move(any));
            }
            break;
        case Node::Kind::List:
            break;
    }
    return groups;
}

void AddSpoken(WordList& list, std::string spoken, int row) {
    LowerAscii(spoken);
    if (spoken.empty()) return;
    AddLength(list.lengths, spoken.size());
    list.firstChars |= FirstCharBit(spoken);
    list.spoken.emplace(std::move(spoken), row);
}

// `a | b=norm | c`: spoken forms with their norm.
void InlineValues(WordList& list, std::string_view values) {
    list.columns = {"norm"};
    for (std::string_view value : Split(values, '|')) {
        if (value.empty()) throw FileError("an empty value in list " + list.name);
        const size_t equals = value.find('=');
        const std::string_view spoken = Trim(value.substr(0, equals));
        const std::string_view norm = equals == std::string_view::npos ? spoken : Trim(value.substr(equals + 1));
        list.rows.push_back({std::string(norm)});
        AddSpoken(list, std::string(spoken), static_cast<int>(list.rows.size() - 1));
    }
}

std::string DigitsOnly(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

// A CSV table with a header line; the key column holds the spoken forms, '|' between them.
void TableValues(WordList& list, const std::string& text, std::string_view key, std::string_view digits) {
    std::vector<std::string_view> lines = Split(text, '\n');
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) throw FileError("list " + list.name + ": the table is empty");
    std::string_view header = lines.front();
    if (header.substr(0, 2) == "# ") header.remove_prefix(2);  // a header written as a comment
    for (std::string_view column : Split(header, ',')) list.columns.emplace_back(column);
    const int keyColumn = list.Column(key);
    if (keyColumn < 0) throw FileError("list " + list.name + ": no column " + std::string(key));
    if (!digits.empty() && (list.digitsColumn = list.Column(digits)) < 0)
        throw FileError("list " + list.name + ": no column " + std::string(digits));
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i].front() == '#') continue;
        std::vector<std::string_view> cells = Split(lines[i], ',');
        if (cells.size() != list.columns.size())
            throw FileError("list " + list.name + ": table line " + std::to_string(i + 1) + " has " +
                            std::to_string(cells.size()) + " fields, not " + std::to_string(list.columns.size()));
        const int row = static_cast<int>(list.rows.size());
        list.rows.emplace_back(cells.begin(), cells.end());
        for (std::string_view spoken : Split(cells[keyColumn], '|')) AddSpoken(list, std::string(spoken), row);
        if (list.digitsColumn >= 0) list.byDigits.emplace(DigitsOnly(cells[list.digitsColumn]), row);
    }
}

// One spoken form a line, no header: the title tables.
void LineValues(WordList& list, const std::string& text) {
    list.columns = {"norm"};
    for (std::string_view line : Split(text, '\n')) {
        if (line.empty() || line.front() == '#') continue;
        list.rows.push_back({std::string(line)});
        AddSpoken(list, std::string(line), static_cast<int>(list.rows.size() - 1));
    }
}

std::string_view Option(const std::vector<std::string_view>& words, std::string_view key) {
    for (std::string_view word : words)
        if (word.size() > key.size() && word.substr(0, key.size()) == key && word[key.size()] == '=')
            return word.substr(key.size() + 1);
    return {};
}

// A directive's name and the rest of its line: "rule NAME = TEMPLATE".
std::pair<std::string_view, std::string_view> NameAndBody(std::string_view rest, const char* what) {
    const size_t equals = rest.find('=');
    const size_t blank = rest.find(' ');
    const size_t end = std::min(equals, blank);
    const std::string_view name = Trim(rest.substr(0, end));
    if (name.empty()) throw FileError(std::string(what) + " without a name");
    return {name, end == std::string_view::npos ? std::string_view() : Trim(rest.substr(end))};
}

class FileLoader {
public:
    FileLoader(Grammar& grammar, const FileReader& read, Scope& scope) : m_grammar(grammar), m_read(read), m_scope(scope) {}

    // One file's directives; returns its service (empty name for the common file).
    Service Load(const std::string& file, const std::string& text) {
        Service service;
        service.file = file;
        std::vector<std::pair<int, std::string_view>> sentences;  // compiled once every rule is known
        std::vector<std::pair<int, size_t>> owners;                // the intent of each sentence
        int lineNo = 0;
        try {
            for (std::string_view line : Split(text, '\n')) {
                ++lineNo;
                if (lineNo == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
                if (line.empty() || line.front() == '#') continue;
                const size_t blank = line.find(' ');
                const std::string_view directive = line.substr(0, blank);
                const std::string_view rest = blank == std::string_view::npos ? std::string_view() : Trim(line.substr(blank));
                if (directive == "service") {
                    service.name = std::string(rest);
                } else if (directive == "priority") {
                    service.priority = std::atoi(std::string(rest).c_str());
                } else if (directive == "rule") {
                    auto [name, body] = NameAndBody(rest, "rule");
                    if (body.empty() || body.front() != '=') throw FileError("rule " + std::string(name) + " needs = TEMPLATE");
                    m_scope.rules[std::string(name)] = std::string(Trim(body.substr(1)));
                } else if (directive == "list") {
                    auto [name, body] = NameAndBody(rest, "list");
                    m_scope.lists[std::string(name)] = AddList(std::string(name), body);
                } else if (directive == "intent") {
                    if (rest.empty()) throw FileError("intent without a name");
                    service.intents.push_back(Intent{std::string(rest), {}, {}});
                } else if (directive == "slot") {
                    if (service.intents.empty()) throw FileError("slot before any intent");
                    service.intents.back().slots.push_back(Slot(rest));
                } else if (directive == "sentence") {
                    if (service.intents.empty()) throw FileError("sentence before any intent");
                    if (rest.empty()) throw FileError("an empty sentence");
                    sentences.emplace_back(lineNo, rest);
                    owners.emplace_back(lineNo, service.intents.size() - 1);
                } else {
                    throw FileError("unknown directive " + std::string(directive));
                }
            }
            for (size_t i = 0; i < sentences.size(); ++i) {
                lineNo = sentences[i].first;
                service.intents[owners[i].second].sentences.push_back(Compile(sentences[i].second, lineNo));
            }
        } catch (const FileError& error) {
            throw FileError("line " + std::to_string(lineNo) + ": " + error.what());
        }
        return service;
    }

private:
    const WordList* AddList(std::string name, std::string_view body) {
        auto list = std::make_unique<WordList>();
        list->name = std::move(name);
        if (!body.empty() && body.front() == '=') {
            InlineValues(*list, Trim(body.substr(1)));
        } else {
            const std::vector<std::string_view> words = Words(body);
            if (!words.empty() && words.front() == "wildcard") {
                list->kind = WordList::Kind::Wildcard;
                if (std::string_view max = Option(words, "max"); !max.empty()) {
                    list->maxChars = static_cast<size_t>(std::atoi(std::string(max).c_str()));
                    if (list->maxChars == 0) throw FileError("list " + list->name + ": max must be a number above 0");
                }
                list->asciiOnly = std::find(words.begin(), words.end(), "ascii") != words.end();
                if (std::string_view excluded = Option(words, "not"); !excluded.empty())
                    for (std::string_view word : Split(excluded, '|')) {
                        std::string lower(word);
                        LowerAscii(lower);
                        if (!lower.empty()) list->forbidden.push_back(std::move(lower));
                    }
            } else if (std::string_view file = Option(words, "file"); !file.empty()) {
                if (file.find("..") != std::string_view::npos) throw FileError("list " + list->name + ": a file outside");
                std::optional<std::string> table = m_read(std::string(file));
                if (!table) throw FileError("list " + list->name + ": cannot read " + std::string(file));
                if (const std::string_view key = Option(words, "key"); key.empty())
                    LineValues(*list, *table);
                else
                    TableValues(*list, *table, key, Option(words, "digits"));
            } else {
                throw FileError("list " + list->name + " needs = VALUES, file=TABLE key=COLUMN, or wildcard");
            }
        }
        list->id = static_cast<int>(m_grammar.lists.size());
        m_grammar.lists.push_back(std::move(list));
        return m_grammar.lists.back().get();
    }

    // slot NAME VALUE [NORMVALUE] [if=CAPTURE] [unless=CAPTURE]
    static SlotSpec Slot(std::string_view rest) {
        SlotSpec slot;
        std::vector<std::string_view> positional;
        for (std::string_view word : Words(rest)) {
            if (word.substr(0, 3) == "if=") slot.onlyIf = std::string(word.substr(3));
            else if (word.substr(0, 7) == "unless=") slot.unless = std::string(word.substr(7));
            else positional.push_back(word);
        }
        if (positional.size() < 2 || positional.size() > 3) throw FileError("slot needs NAME VALUE [NORMVALUE]");
        slot.name = std::string(positional[0]);
        slot.value = std::string(positional[1]);
        if (positional.size() == 3) {
            slot.hasNormValue = true;
            slot.normValue = std::string(positional[2]);
        }
        return slot;
    }

    Sentence Compile(std::string_view source, int lineNo) {
        Sentence sentence;
        sentence.source = std::string(source);
        sentence.line = lineNo;
        // Every sentence may open with a polite word and end with a particle.
        std::string wrapped(source);
        if (m_scope.Rule("prefix")) wrapped = "[<prefix>]" + wrapped;
        if (m_scope.Rule("suffix")) wrapped += "[<suffix>]";
        sentence.root = TemplateParser(m_scope, 0).Parse(wrapped);
        Simplify(sentence.root);
        for (const auto& group : RequiredTexts(sentence.root)) {
            std::vector<int> ids;
            for (const std::string& text : group) {
                auto [it, added] = m_grammar.needles.emplace(text, static_cast<int>(m_grammar.needles.size()));
                if (added) {
                    AddLength(m_grammar.needleLengths, text.size());
                    m_grammar.needleFirstChars |= FirstCharBit(text);
                }
                ids.push_back(it->second);
            }
            sentence.required.push_back(std::move(ids));
        }
        return sentence;
    }

    Grammar& m_grammar;
    const FileReader& m_read;
    Scope& m_scope;
};

void AddBuiltIn(Grammar& grammar, Scope& scope, const char* name, WordList::Kind kind) {
    auto list = std::make_unique<WordList>();
    list->name = name;
    list->kind = kind;
    list->columns = {"norm"};
    list->id = static_cast<int>(grammar.lists.size());
    scope.lists[name] = list.get();
    grammar.lists.push_back(std::move(list));
}

}  // namespace

int WordList::Column(std::string_view field) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i] == field) return static_cast<int>(i);
    return -1;
}

void LowerAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

std::unique_ptr<Grammar> LoadGrammar(FileReader read) {
    auto grammar = std::make_unique<Grammar>();
    Scope common;
    AddBuiltIn(*grammar, common, "date", WordList::Kind::Date);
    AddBuiltIn(*grammar, common, "digits", WordList::Kind::Digits);
    AddBuiltIn(*grammar, common, "number", WordList::Kind::Number);
    auto fail = [&](const std::string& file, const std::string& why) { grammar->problems.push_back(file + ": " + why); };

    std::optional<std::string> commonText = read("common.txt");
    if (!commonText) fail("common.txt", "cannot be read");
    else {
        try {
            FileLoader(*grammar, read, common).Load("common.txt", *commonText);
        } catch (const FileError& error) {
            fail("common.txt", error.what());
        }
    }
    std::optional<std::string> index = read("index.txt");
    if (!index) {
        fail("index.txt", "cannot be read");
        return grammar;
    }
    for (std::string_view name : Split(*index, '\n')) {
        if (name.empty() || name.front() == '#') continue;
        const std::string file(name);
        std::optional<std::string> text =
            file.find("..") == std::string::npos ? read(file) : std::nullopt;
        if (!text) {
            fail(file, "cannot be read");
            continue;
        }
        Scope scope;
        scope.outer = &common;
        try {
            Service service = FileLoader(*grammar, read, scope).Load(file, *text);
            if (service.name.empty()) throw FileError("no service line");
            grammar->services.push_back(std::move(service));
        } catch (const FileError& error) {
            fail(file, error.what());
        }
    }
    return grammar;
}

}  // namespace understanding
