#include "host/VeJson.h"

#include <rapidjson/reader.h>

#include <cstring>

#include "host/TextCodec.h"

// SAX handler that flattens the document while RapidJSON parses it iteratively, so deep
// input costs heap, not stack.
class VeJsonBuilder {
public:
    explicit VeJsonBuilder(VeJson& doc) : m_doc(doc) {}

    bool Null() { return Leaf(std::string_view()); }
    bool Bool(bool b) { return Leaf(b ? "true" : "false"); }
    bool RawNumber(const char* str, rapidjson::SizeType length, bool) { return Leaf({str, length}); }
    // A lone low-surrogate escape ("\uDC00") decodes to invalid UTF-8; refuse it like a lone high one.
    bool String(const char* str, rapidjson::SizeType length, bool) {
        return textcodec::IsValidUtf8({str, length}) && Leaf({str, length});
    }
    bool Key(const char* str, rapidjson::SizeType length, bool) {
        if (!textcodec::IsValidUtf8({str, length})) return false;
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
        int element;
        bool keyed;  // the path at this frame holds at least one key
    };

    int CurrentElement() const { return m_frames.empty() ? -1 : m_frames.back().element; }
    bool InArray() const { return !m_frames.empty() && m_frames.back().array; }

    int NewElement() {
        m_doc.m_elementParents.push_back(CurrentElement());
        return static_cast<int>(m_doc.m_elementParents.size()) - 1;
    }

    bool Leaf(std::string_view text) {
        int element = InArray() ? NewElement() : CurrentElement();
        m_doc.m_leaves.push_back({m_path, std::string(text), element});
        return true;
    }

    bool Open(bool array) {
        if (static_cast<int>(m_frames.size()) >= VeJson::kMaxDepth) return false;
        int element = InArray() ? NewElement() : CurrentElement();
        // The path of a value in an object is its key's; the root's is empty.
        m_frames.push_back({array, m_path.size(), element, m_keyed});
        return true;
    }

    bool Close() {
        m_frames.pop_back();
        if (!m_frames.empty() && !m_frames.back().array) {
            // Back in an object: the next Key rebuilds the path from the object's length.
        } else if (!m_frames.empty()) {
            m_path.resize(m_frames.back().pathLength);
            m_keyed = m_frames.back().keyed;
        }
        return true;
    }

    VeJson& m_doc;
    std::string m_path;
    bool m_keyed = false;
    std::vector<Frame> m_frames;
};

VeJson::VeJson(const char* text) : VeJson(text, text ? std::strlen(text) : 0) {}

VeJson::VeJson(const char* text, size_t length) {
    if (!text) return;
    VeJsonBuilder builder(*this);
    rapidjson::Reader reader;
    rapidjson::MemoryStream stream(text, length);
    constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag |
                                rapidjson::kParseNumbersAsStringsFlag;
    // The reader stops at a NUL as at the end, so a NUL inside `length` would hide what follows it.
    m_bValid = !reader.Parse<kFlags>(stream, builder).IsError() && stream.Tell() == length;
    if (!m_bValid) {
        m_leaves.clear();
        m_elementParents.clear();
    }
}

VeJson::~VeJson() = default;
VeJson::VeJson(const VeJson& other) = default;
VeJson& VeJson::operator=(const VeJson& other) = default;

bool VeJson::IsValid() const { return m_bValid; }

std::string VeJson::Get(const char* path) const {
    std::string_view wanted(path ? path : "");
    for (const auto& leaf : m_leaves)
        if (leaf.path == wanted) return leaf.text;
    return {};
}

bool VeJson::InElement(int element, int scope) const {
    if (scope < 0) return true;
    for (int e = element; e >= 0; e = m_elementParents[static_cast<size_t>(e)])
        if (e == scope) return true;
    return false;
}

std::string VeJson::GetBrotherLeaf(const char* namePath, const char* nameValue, const char* valuePath,
                                   int /*level*/) const {
    std::string_view name(namePath ? namePath : ""), wantedName(nameValue ? nameValue : "");
    std::string_view value(valuePath ? valuePath : "");
    for (const auto& leaf : m_leaves) {
        if (leaf.path != name || leaf.text != wantedName) continue;
        for (const auto& candidate : m_leaves)
            if (candidate.path == value && InElement(candidate.element, leaf.element)) return candidate.text;
    }
    return {};
}

void VeJson::GetNodeTextVector(const char* path, std::vector<std::string>& out) const {
    std::string_view wanted(path ? path : "");
    for (const auto& leaf : m_leaves)
        if (leaf.path == wanted) out.push_back(leaf.text);
}

std::string VeJson::GetJsonNodeText_All(const char* path) const {
    std::string_view wanted(path ? path : "");
    std::string all;
    for (const auto& leaf : m_leaves)
        if (leaf.path == wanted) all += leaf.text;
    return all;
}

void VeJson::Insert(std::string path, std::string text) {
    m_leaves.insert(m_leaves.begin(), {std::move(path), std::move(text), -1});
}

void VeJson::Insert(std::string namePath, std::string nameText, std::string valuePath, std::string valueText) {
    m_elementParents.push_back(-1);
    int element = static_cast<int>(m_elementParents.size()) - 1;
    m_leaves.insert(m_leaves.begin(), {{std::move(namePath), std::move(nameText), element},
                                       {std::move(valuePath), std::move(valueText), element}});
}

void VeJson::Utf8ToUnicode() {
    if (m_bGbk) return;
    m_bGbk = true;
    for (auto& leaf : m_leaves) leaf.text = textcodec::Utf8ToGbk(leaf.text);
}
