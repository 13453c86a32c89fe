#pragma once
// The understanding's templates and lists as read from data/understanding/: what each service's
// sentences look like and which slots a match fills. See data/understanding/README.md for the
// file format.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace understanding {

// A list of spoken forms with fields per row, a wildcard, or one of the built-in readers.
struct WordList {
    enum class Kind { Values, Wildcard, Date, Digits, Number };
    std::string name;
    Kind kind = Kind::Values;
    std::vector<std::string> columns;            // field names of the rows
    std::vector<std::vector<std::string>> rows;  // field values, one per column
    std::unordered_map<std::string, int> spoken;  // lower-cased spoken form -> row (first wins)
    size_t minBytes = SIZE_MAX, maxBytes = 0;    // of the spoken forms
    int digitsColumn = -1;                       // rows also reached by this column spoken as digits
    std::unordered_map<std::string, int> byDigits;
    size_t maxChars = 24;  // a wildcard's longest text, in characters
    bool asciiOnly = false;               // a wildcard of Latin text only
    std::vector<std::string> forbidden;  // a wildcard holding one of these is no match

    int Column(std::string_view field) const;
};

// One element of a compiled sentence.
struct Node {
    enum class Kind { Text, Seq, Alt, List };
    explicit Node(Kind k = Kind::Seq) : kind(k) {}
    Kind kind;
    std::string text;  // Text: lower-cased
    std::vector<Node> kids;
    const WordList* list = nullptr;
    std::string capture;  // List: the capture's name
};

struct SlotSpec {
    std::string name, value, normValue;
    bool hasNormValue = false;
    std::string onlyIf, unless;  // capture names, or "capture.field" for a field that is not empty
};

struct Sentence {
    Node root;
    std::vector<std::string> required;  // texts every match contains: a quick refusal
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
};

// Reads the index and every file it names through `read` (a bare name under the understanding
// directory -> its text, empty optional when it cannot be read). A file that fails is left out
// with its problem noted; the others load.
using FileReader = std::function<std::optional<std::string>(const std::string& name)>;
std::unique_ptr<Grammar> LoadGrammar(FileReader read);

// Lower-cases ASCII letters in place (the matcher's comparisons ignore their case).
void LowerAscii(std::string& text);

}  // namespace understanding
