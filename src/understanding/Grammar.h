#pragma once
// The understanding's templates and lists as read from data/understanding/: what each service's
// sentences look like and which slots a match fills. See data/understanding/README.md for the
// file format.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace understanding {

// Lookups by a piece of the utterance, without copying it.
struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const {
        size_t hash = 14695981039346656037ull & SIZE_MAX;  // FNV-1a: the keys are a few characters
        for (unsigned char c : text) hash = (hash ^ c) * (sizeof(size_t) == 8 ? 1099511628211ull : 16777619u);
        return hash;
    }
};
using TextIndex = std::unordered_map<std::string, int, TextHash, std::equal_to<>>;

// A bit per first character (hashed), so most places where no word starts cost no lookup.
inline uint64_t FirstCharBit(std::string_view text) {
    if (text.empty()) return 0;
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    const size_t length = std::min<size_t>(text.size(), lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4);
    return uint64_t{1} << (TextHash()(text.substr(0, length)) % 64);
}

// A list of spoken forms with fields per row, a wildcard, or one of the built-in readers.
struct WordList {
    enum class Kind { Values, Wildcard, Date, Digits, Number };
    std::string name;
    Kind kind = Kind::Values;
    std::vector<std::string> columns;            // field names of the rows
    std::vector<std::vector<std::string>> rows;  // field values, one per column
    TextIndex spoken;                  // lower-cased spoken form -> row (first wins)
    std::vector<size_t> lengths;       // of the spoken forms, in bytes, longest first
    uint64_t firstChars = 0;           // FirstCharBit of every spoken form
    int id = 0;                        // its place in Grammar::lists
    int digitsColumn = -1;                       // rows also reached by this column spoken as digits
    TextIndex byDigits;
    size_t maxChars = 24;  // a wildcard's longest text, in characters
    bool asciiOnly = false;               // a wildcard of Latin text only
    std::vector<std::string> forbidden;  // a wildcard holding one of these is no match

    int Column(std::string_view field) const;
};

// One element of a compiled sentence. An alternative of plain words is a Words node: one
// lookup per length instead of a comparison per word.
struct Node {
    enum class Kind { Text, Seq, Alt, List, Words };
    explicit Node(Kind k = Kind::Seq) : kind(k) {}
    Kind kind;
    std::string text;  // Text: lower-cased
    std::vector<Node> kids;
    const WordList* list = nullptr;
    std::string capture;  // List: the capture's name
    TextIndex words;      // Words: the words (lower-cased)
    std::vector<size_t> lengths;  // Words: their lengths in bytes, longest first
    uint64_t firstChars = 0;      // Words: FirstCharBit of every word
    bool optional = false;        // Words: nothing matches too
};

struct SlotSpec {
    std::string name, value, normValue;
    bool hasNormValue = false;
    std::string onlyIf, unless;  // capture names, or "capture.field" for a field that is not empty
};

struct Sentence {
    Node root;
    // A quick refusal: every match contains one text of each group (ids of Grammar::needles).
    std::vector<std::vector<int>> required;
    std::string source;                 // as written, for --explain
    int line = 0;
};

struct Intent {
    std::string name;
    std::vector<SlotSpec> slots;
    std::vector<Sentence> sentences;
};

struct Service {
    std::string name, file;
    int priority = 0;
    std::vector<Intent> intents;
};

// Every service that loaded; the lists live here so the sentences may point at them.
struct Grammar {
    std::vector<std::unique_ptr<WordList>> lists;
    std::vector<Service> services;
    std::vector<std::string> problems;  // one line per file that failed: "file: line N: why"
    TextIndex needles;                  // every text a sentence requires -> its id
    std::vector<size_t> needleLengths;  // their lengths in bytes
    uint64_t needleFirstChars = 0;      // FirstCharBit of every needle
};

// Reads the index and every file it names through `read` (a bare name under the understanding
// directory -> its text, empty optional when it cannot be read). A file that fails is left out
// with its problem noted; the others load.
using FileReader = std::function<std::optional<std::string>(const std::string& name)>;
std::unique_ptr<Grammar> LoadGrammar(FileReader read);

// Lower-cases ASCII letters in place (the matcher's comparisons ignore their case).
void LowerAscii(std::string& text);

}  // namespace understanding
