#include "keyboard/OfficeGrammar.h"

#include <algorithm>
#include <string_view>

#include "host/DataDirectory.h"
#include "host/TextMatch.h"
#include "keyboard/KeyPlayer.h"
#include "platform/DataFile.h"
#include "platform/TextCodec.h"

namespace {

constexpr int kMaxRecords = 199;
constexpr size_t kMaxNames = 99;
constexpr size_t kMaxPhrases = 99;
constexpr size_t kMaxSeparators = 98;
constexpr std::uint64_t kMaxGrammarBytes = 64u << 10;  // 15 times the larger shipped grammar

using Tokens = std::vector<std::string>;

// The file's text up to its first zero byte; empty when it cannot be read.
std::string ReadGrammarFile(const char* fileName) {
    std::string content = vefile::ReadDataFile(vehost::DataPath(fileName), kMaxGrammarBytes).value_or("");
    content.resize(std::min(content.find('\0'), content.size()));
    return content;
}

// What is wrong with a grammar file, told once per file: a damaged grammar must be heard of,
// since its commands silently do nothing or something else.
void ReportDamage(const char* fileName, std::u16string_view problem) {
    vehost::ReportUnusableDataFile(fileName, problem);
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

bool IsGbk(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = textcodec::GbkCharLength(text, pos);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

// The grammar's text, or nothing (reported) when there is none or it is not GBK.
std::string ReadGbkGrammar(const char* fileName) {
    std::string content = ReadGrammarFile(fileName);
    if (IsBlank(content)) {
        ReportDamage(fileName, u"grammar missing or empty; its commands are off");
        return {};
    }
    // A GBK grammar that holds Chinese is almost never valid UTF-8; a UTF-8 one would match nothing.
    const bool nonAscii =
        std::any_of(content.begin(), content.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (nonAscii && textcodec::IsValidUtf8(content)) {
        ReportDamage(fileName, u"grammar saved as UTF-8, not GBK; its commands are off");
        return {};
    }
    return content;
}

// A key a grammar may name: a name of the key table, one upper-case letter or digit, a text to
// type, a separator or the empty piece between two. Anything else is likely damage: the player
// presses the key of its first byte.
bool IsKnownKeyToken(const std::string& token) {
    if (token.empty() || token[0] == '#' || token == "+" || token == ",") return true;
    if (token.size() == 1 && ((token[0] >= 'A' && token[0] <= 'Z') || (token[0] >= '0' && token[0] <= '9'))) return true;
    return TyUtil::MapKeyStr2Int(token) != static_cast<signed char>(token[0]);
}

// Calls `record` with the text before each ';', for at most kMaxRecords records. The line
// end after a ';' is skipped whatever its form (CR LF, LF, CR, blank lines), so a file with
// LF line ends loses no byte of the next record. A file that ends inside a record was cut off.
template <typename Fn>
void ForEachRecord(const char* fileName, std::string_view content, Fn record) {
    size_t pos = 0;
    for (int n = 0; n < kMaxRecords; ++n) {
        size_t end = content.find(';', pos);
        if (end == std::string_view::npos) {
            if (!IsBlank(content.substr(pos))) ReportDamage(fileName, u"grammar cut off inside a record");
            return;
        }
        std::string_view text = content.substr(pos, end - pos);
        pos = end + 1;
        while (pos < content.size() && (content[pos] == '\r' || content[pos] == '\n')) ++pos;
        record(text);
    }
}

// Split at ','; at most `maxPieces`, the text after the comma that ends the last one dropped.
Tokens SplitAtCommas(std::string_view text, size_t maxPieces) {
    Tokens pieces;
    size_t start = 0;
    while (pieces.size() < maxPieces) {
        size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            break;
        }
        pieces.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return pieces;
}

// X+Y,Z gives X "+" Y "," Z; empty pieces stay. Empty when there are too many separators.
Tokens SplitKeySpec(std::string_view spec) {
    Tokens tokens;
    size_t separators = 0, start = 0;
    for (size_t pos = 0; pos < spec.size(); ++pos) {
        if (spec[pos] != '+' && spec[pos] != ',') continue;
        if (++separators > kMaxSeparators) return {};
        tokens.emplace_back(spec.substr(start, pos - start));
        tokens.emplace_back(1, spec[pos]);
        start = pos + 1;
    }
    tokens.emplace_back(spec.substr(start));
    return tokens;
}

// Phrases before the first ':', key tokens after it; false when the entry is not stored. An
// entry that is not GBK could never match and is left out; one naming unknown keys is told of.
bool ParseEntry(const char* fileName, std::string_view record, Tokens& phrases, Tokens& keys) {
    size_t colon = record.find(':');
    keys = SplitKeySpec(record.substr(colon + 1));
    if (keys.empty()) return false;
    if (!IsGbk(record)) {
        ReportDamage(fileName, u"grammar holds entries that are not GBK; they are left out");
        return false;
    }
    if (!std::all_of(keys.begin(), keys.end(), IsKnownKeyToken))
        ReportDamage(fileName, u"grammar names keys the key table does not know");
    phrases = SplitAtCommas(record.substr(0, colon), kMaxPhrases);
    return true;
}

std::vector<OfficeCtrlTable*> SectionTargets(std::string_view header) {
    std::string names(header);
    names.erase(std::remove(names.begin(), names.end(), '-'), names.end());
    std::vector<OfficeCtrlTable*> targets;
    for (const auto& name : SplitAtCommas(names, kMaxNames)) {
        if (name == "office") targets.push_back(&OfficeTable());
        else if (name == "word") targets.push_back(&WordTable());
        else if (name == "ppt") targets.push_back(&PptTable());
        else if (name == "excel") targets.push_back(&ExcelTable());
    }
    return targets;
}

// The last entry in table order with a matching phrase gives the result, so walk backwards.
template <typename Match>
Tokens FindKeys(const OfficeCtrlTable& table, Match matches) {
    for (auto it = table.rbegin(); it != table.rend(); ++it)
        if (std::any_of(it->first.begin(), it->first.end(), matches)) return it->second;
    return {};
}

}  // namespace

OfficeCtrlTable& OfficeTable() {
    static OfficeCtrlTable table;
    return table;
}
OfficeCtrlTable& WordTable() {
    static OfficeCtrlTable table;
    return table;
}
OfficeCtrlTable& PptTable() {
    static OfficeCtrlTable table;
    return table;
}
OfficeCtrlTable& ExcelTable() {
    static OfficeCtrlTable table;
    return table;
}
OfficeCtrlTable& OutPptTable() {
    static OfficeCtrlTable table;
    return table;
}

void LoadOfficeCtrlGrammar() {
    static constexpr const char* kFile = "officectrl.grm";
    const std::string content = ReadGbkGrammar(kFile);
    // Starts empty on every load: entries before the first header belong to no section, on
    // a reload as much as on the first load.
    std::vector<OfficeCtrlTable*> sectionTargets;
    ForEachRecord(kFile, content, [&](std::string_view record) {
        if (record.find(':') == std::string_view::npos) {
            sectionTargets = SectionTargets(record);
            // The slide-show grammar's header, or a damaged one: what follows goes nowhere.
            if (sectionTargets.empty()) ReportDamage(kFile, u"grammar section header names no known section");
            return;
        }
        Tokens phrases, keys;
        if (sectionTargets.empty() || !ParseEntry(kFile, record, phrases, keys)) return;
        for (OfficeCtrlTable* table : sectionTargets) table->emplace(phrases, keys);
    });
}

void LoadOfficeCtrlOutPptGrammar() {
    static constexpr const char* kFile = "officectrloutppt.grm";
    const std::string content = ReadGbkGrammar(kFile);
    ForEachRecord(kFile, content, [](std::string_view record) {
        Tokens phrases, keys;
        // The office grammar in its place: its headers are skipped, but it is not this file.
        if (record.find(':') == std::string_view::npos && !SectionTargets(record).empty())
            ReportDamage(kFile, u"grammar holds the office grammar's sections");
        if (record.find(':') != std::string_view::npos && ParseEntry(kFile, record, phrases, keys))
            OutPptTable().emplace(std::move(phrases), std::move(keys));
    });
}

void EnsureOfficeCtrlGrammars() {
    if (OfficeTable().empty()) LoadOfficeCtrlGrammar();
    if (OutPptTable().empty()) LoadOfficeCtrlOutPptGrammar();
}

void ResetOfficeCtrlTables() {
    for (auto* table : {&OfficeTable(), &WordTable(), &PptTable(), &ExcelTable(), &OutPptTable()}) table->clear();
}

std::vector<std::string> FindKeysByEquality(const OfficeCtrlTable& table, const std::string& text) {
    return FindKeys(table, [&](const std::string& phrase) { return phrase == text; });
}

std::vector<std::string> FindKeysByContainment(const OfficeCtrlTable& table, const std::string& text) {
    return FindKeys(table, [&](const std::string& phrase) { return ContainsGbk(text, phrase); });
}

void FindPPtKeys(const std::string& text, std::vector<std::string>& keys) {
    auto found = FindKeysByContainment(PptTable(), text);
    if (!found.empty()) keys = std::move(found);
}
