#include "host/VeJson.h"

#include <rapidjson/reader.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/TextCodec.h"

namespace {

// An entry's first string: the leaf's path, this mark, then the ids of the array elements
// around it from outer to inner, each ending in '.'.
constexpr char kScopeMark = '\0';

// Built at its final size: one allocation per entry at most.
std::string Located(std::string_view path, std::string_view scope) {
    std::string located;
    located.reserve(path.size() + 1 + scope.size());
    located.append(path).append(1, kScopeMark).append(scope);
    return located;
}

}  // namespace

// SAX handler that flattens the document while RapidJSON parses it. The reader recurses, which
// is faster than its iterative mode, and Open refuses a container deeper than kMaxDepth before
// the reader descends into it, so nesting never costs more stack than that.
class VeJsonBuilder {
public:
    VeJsonBuilder(VeJson& doc, bool unicodeEscapes) : m_doc(doc), m_unicodeEscapes(unicodeEscapes) {}

    bool Null() { return Leaf(std::string_view()); }
    bool Bool(bool b) { return Leaf(b ? "true" : "false"); }
    bool RawNumber(const char* str, rapidjson::SizeType length, bool) { return Leaf({str, length}); }
    bool String(const char* str, rapidjson::SizeType length, bool) { return Decoded({str, length}) && Leaf({str, length}); }
    bool Key(const char* str, rapidjson::SizeType length, bool) {
        if (!Decoded({str, length})) return false;
        const Frame& frame = m_frames.back();
        m_path.resize(frame.pathLength);
        // Test for a key on the path, not for a non-empty path: empty keys still join with '^',
        // and array levels (a root array included) add nothing.
        if (frame.keyed) m_path += '^';
        m_path.append(str, length);
        m_keyed = true;
        return true;
    }
    bool StartObject() { return Open(false); }
    bool EndObject(rapidjson::SizeType) { return Close(); }
    bool StartArray() { return Open(true); }
    bool EndArray(rapidjson::SizeType) { return Close(); }

    // Numbers arrive as RawNumber; these exist only to satisfy the handler concept.
    bool Int(int) { return false; }
    bool Uint(unsigned) { return false; }
    bool Int64(int64_t) { return false; }
    bool Uint64(uint64_t) { return false; }
    bool Double(double) { return false; }

private:
    struct Frame {
        bool array;
        size_t pathLength;
        size_t scopeLength;  // the element ids around values at this frame
        bool keyed;          // the path at this frame holds at least one key
    };

    // The text was found valid UTF-8 as a whole, so a decoded string is too unless a \u escape
    // made it a lone low surrogate ("\uDC00"; a lone high one the reader refuses).
    bool Decoded(std::string_view text) const { return !m_unicodeEscapes || textcodec::IsValidUtf8(text); }

    bool InArray() const { return !m_frames.empty() && m_frames.back().array; }

    // A value directly inside an array is an element of its own.
    void EnterElement() {
        if (!InArray()) return;
        m_scope += std::to_string(m_nextElement++);
        m_scope += '.';
    }

    bool Leaf(std::string_view text) {
        EnterElement();
        m_doc.m_entries.push_back({Located(m_path, m_scope), std::string(text)});
        m_scope.resize(m_frames.empty() ? 0 : m_frames.back().scopeLength);
        return true;
    }

    bool Open(bool array) {
        if (static_cast<int>(m_frames.size()) >= VeJson::kMaxDepth) return false;
        EnterElement();
        // The path of a value in an object is its key's; the root's is empty.
        m_frames.push_back({array, m_path.size(), m_scope.size(), m_keyed});
        return true;
    }

    bool Close() {
        m_frames.pop_back();
        if (m_frames.empty()) return true;
        m_scope.resize(m_frames.back().scopeLength);
        // Back in an object, the next Key rebuilds the path from the object's length.
        if (m_frames.back().array) {
            m_path.resize(m_frames.back().pathLength);
            m_keyed = m_frames.back().keyed;
        }
        return true;
    }

    VeJson& m_doc;
    const bool m_unicodeEscapes;
    std::string m_path;
    std::string m_scope;
    bool m_keyed = false;
    unsigned m_nextElement = 0;
    std::vector<Frame> m_frames;
};

VeJson::VeJson(const char* text) : VeJson(text, text ? std::strlen(text) : 0) {}

VeJson::VeJson(const char* text, size_t length) {
    // Checked once, as a whole: the reader does not check the encoding.
    if (!text || !textcodec::IsValidUtf8({text, length})) return;
    // Results hold a leaf in every 25 bytes or so: room for one in every 16 makes the entries
    // one allocation in most documents.
    constexpr size_t kMaxReserved = 1024;
    m_entries.reserve(std::min(length / 16 + 1, kMaxReserved));
    // The reader decodes the strings in place, in a copy, rather than through its own stack.
    std::string buffer(text, length);
    VeJsonBuilder builder(*this, std::string_view(text, length).find("\\u") != std::string_view::npos);
    rapidjson::Reader reader;
    rapidjson::InsituStringStream stream(buffer.data());
    constexpr unsigned kFlags =
        rapidjson::kParseInsituFlag | rapidjson::kParseNumbersAsStringsFlag;
    // The reader stops at a NUL as at the end, so a NUL inside `length` would hide what follows it.
    m_bValid = !reader.Parse<kFlags>(stream, builder).IsError() && stream.Tell() == length;
    if (!m_bValid) m_entries = {};
}

namespace {

// What the host's own build of this class holds: a flag and a sequence of two-string entries.
struct HostLayout {
    bool valid;
    std::vector<std::pair<std::string, std::string>> entries;
};
static_assert(sizeof(VeJson) == sizeof(HostLayout) && alignof(VeJson) == alignof(HostLayout));
static_assert(sizeof(VeJson::Entry) == 2 * sizeof(std::string));

// Whether the entry's path is `path`. The scope holds no NUL, so the last one separates path
// and scope even when a key holds one.
bool HasPath(std::string_view located, std::string_view path) {
    return located.starts_with(path) &&
           std::count(located.begin() + static_cast<std::ptrdiff_t>(path.size()), located.end(), kScopeMark) == 1;
}

// Every lookup asks this of every entry: most are decided here, on a length and one byte.
bool AtPath(const VeJson::Entry& entry, std::string_view path) {
    return entry.located.size() > path.size() && entry.located[path.size()] == kScopeMark &&
           HasPath(entry.located, path);
}

std::string_view ScopeOf(const VeJson::Entry& entry) {
    return std::string_view(entry.located).substr(entry.located.rfind(kScopeMark) + 1);
}

std::string_view Wanted(const char* path) { return path ? path : ""; }

}  // namespace

VeJson::~VeJson() = default;
VeJson::VeJson(const VeJson& other) = default;
VeJson& VeJson::operator=(const VeJson& other) = default;

bool VeJson::IsValid() const { return m_bValid; }

std::string VeJson::Get(const char* path) const {
    const std::string_view wanted = Wanted(path);
    for (const auto& entry : m_entries)
        if (AtPath(entry, wanted)) return entry.text;
    return {};
}

std::string VeJson::GetBrotherLeaf(const char* namePath, const char* nameValue, const char* valuePath,
                                   int /*level*/) const {
    const std::string_view name = Wanted(namePath), value = Wanted(nameValue), wanted = Wanted(valuePath);
    for (const auto& leaf : m_entries) {
        if (!AtPath(leaf, name) || leaf.text != value) continue;
        // Inside the same element: the candidate's element ids begin with the leaf's.
        for (const auto& candidate : m_entries)
            if (AtPath(candidate, wanted) && ScopeOf(candidate).starts_with(ScopeOf(leaf)))
                return candidate.text;
    }
    return {};
}

void VeJson::GetNodeTextVector(const char* path, std::vector<std::string>& out) const {
    const std::string_view wanted = Wanted(path);
    for (const auto& entry : m_entries)
        if (AtPath(entry, wanted)) out.push_back(entry.text);
}

std::string VeJson::GetJsonNodeText_All(const char* path) const {
    std::string all;
    const std::string_view wanted = Wanted(path);
    for (const auto& entry : m_entries)
        if (AtPath(entry, wanted)) all += entry.text;
    return all;
}

void VeJson::Insert(std::string path, std::string text) {
    m_entries.insert(m_entries.begin(), {Located(path, ""), std::move(text)});
}

void VeJson::Insert(std::string namePath, std::string nameText, std::string valuePath, std::string valueText) {
    // Parsed element ids are digits only and the entry count grows with every insert, so this
    // id is used by no other element.
    const std::string element = "+" + std::to_string(m_entries.size()) + ".";
    m_entries.insert(m_entries.begin(), {{Located(namePath, element), std::move(nameText)},
                                         {Located(valuePath, element), std::move(valueText)}});
}

void VeJson::Utf8ToUnicode() {
    std::vector<std::string*> texts;
    texts.reserve(m_entries.size());
    for (auto& entry : m_entries) texts.push_back(&entry.text);
    textcodec::Utf8ToGbkEach(texts);
}
