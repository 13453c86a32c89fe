#include "platform/HostConfigTable.h"

#include <rapidjson/document.h>

#include "platform/TextCodec.h"

namespace vehostconfig {

std::optional<std::u16string> FindEntry(std::string json, const char* table, const std::u16string& name,
                                        SameNameFn sameName, bool& malformed) {
    malformed = false;
    if (json.compare(0, 3, "\xEF\xBB\xBF") == 0) json.erase(0, 3);  // Notepad's byte-order mark

    rapidjson::Document document;
    document.Parse(json.data(), json.size());
    if (document.HasParseError() || !document.IsObject()) {
        malformed = true;
        return std::nullopt;
    }
    auto entries = document.FindMember(table);
    if (entries == document.MemberEnd() || !entries->value.IsObject()) return std::nullopt;

    std::optional<std::u16string> caseless;
    for (const auto& entry : entries->value.GetObject()) {
        if (!entry.value.IsString()) continue;
        std::u16string key = textcodec::Utf8ToUtf16({entry.name.GetString(), entry.name.GetStringLength()});
        std::u16string value = textcodec::Utf8ToUtf16({entry.value.GetString(), entry.value.GetStringLength()});
        if (key == name) return value;
        if (!caseless && sameName && sameName(key, name)) caseless = std::move(value);
    }
    return caseless;
}

}  // namespace vehostconfig
