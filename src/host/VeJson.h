#pragma once
// The host's JSON document: a recognition result flattened into leaves addressed by paths
// whose keys are joined with '^' (array levels appear without an index). Texts are UTF-8
// until Utf8ToUnicode, GBK after it. Numbers read as their JSON text, booleans as
// "true"/"false", null as an empty text.
#include <string>
#include <string_view>
#include <vector>

#include "vescene/Export.h"

class VESCENE_API VeJson {
public:
    // Deeper documents are refused: no real recognition result comes near this.
    static constexpr int kMaxDepth = 64;

    explicit VeJson(const char* text);
    VeJson(const char* text, size_t length);
    VeJson(const VeJson& other);
    VeJson& operator=(const VeJson& other);
    ~VeJson();

    // False for text that is not one complete JSON value in valid UTF-8, or is nested too deeply.
    bool IsValid() const;

    // The first leaf at `path`, or empty.
    std::string Get(const char* path) const;
    // The first leaf at `valuePath` inside the array element that holds a leaf `namePath`
    // equal to `nameValue`. The element is the innermost array element around that leaf,
    // which is what both levels the callers use (2: a slot's fields, 3: a semantic entry's
    // slots) mean.
    std::string GetBrotherLeaf(const char* namePath, const char* nameValue, const char* valuePath,
                               int level) const;
    void GetNodeTextVector(const char* path, std::vector<std::string>& out) const;
    std::string GetJsonNodeText_All(const char* path) const;

    // Inserted leaves come before the parsed ones, so a later Get returns them.
    void Insert(std::string path, std::string text);
    // Adds one array element holding both leaves.
    void Insert(std::string namePath, std::string nameText, std::string valuePath, std::string valueText);

    // Converts every text from UTF-8 to GBK in place; a document is converted once, by its reader.
    void Utf8ToUnicode();

    // Every leaf is one entry: its path with the array elements around it, and its text.
    struct Entry {
        std::string located;  // path, NUL, the enclosing element ids from outer to inner, each ending in '.'
        std::string text;
    };
    size_t LeafCount() const { return m_entries.size(); }

private:
    friend class VeJsonBuilder;

    // The host builds and copies these too, so the members are exactly these two.
    bool m_bValid = false;
    std::vector<Entry> m_entries;
};
