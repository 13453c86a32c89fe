#include "platform/HostConfigTable.h"

#include <rapidjson/document.h>

#include <atomic>

#include "platform/TextCodec.h"

namespace vehostconfig {
namespace {

std::atomic<FlagSource> g_flagSource{nullptr};

bool ParseObject(std::string& json, rapidjson::Document& document) {
    if (json.compare(0, 3, "\xEF\xBB\xBF") == 0) json.erase(0, 3);  // Notepad's byte-order mark
    document.Parse(json.data(), json.size());
    return !document.HasParseError() && document.IsObject();
}

}  // namespace

std::optional<std::u16string> FindEntry(std::string json, const char* table, const std::u16string& name,
                                        SameNameFn sameName, bool& malformed) {
    rapidjson::Document document;
    malformed = !ParseObject(json, document);
    if (malformed) return std::nullopt;
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

std::optional<bool> FindFlag(std::string json, const char* name, bool& malformed) {
    rapidjson::Document document;
    malformed = !ParseObject(json, document);
    if (malformed) return std::nullopt;
    auto flag = document.FindMember(name);
    if (flag == document.MemberEnd() || !flag->value.IsBool()) return std::nullopt;
    return flag->value.GetBool();
}

void SetFlagSource(FlagSource source) { g_flagSource = source; }

std::optional<bool> HostFlag(const char* name) {
    const FlagSource source = g_flagSource.load();
    return source ? source(name) : std::nullopt;
}

}  // namespace vehostconfig
