// The `sim` settings: a JSON object whose keys are SimState's names in camelCase (see the
// README's table).
#include <rapidjson/document.h>

#include <cstdlib>

#include "platform/sim/SimDesktop.h"

namespace vesim {

namespace {

bool ReadStringSet(const rapidjson::Value& v, std::set<std::string>& out) {
    if (!v.IsArray()) return false;
    out.clear();
    for (const auto& item : v.GetArray()) {
        if (!item.IsString()) return false;
        out.insert(item.GetString());
    }
    return true;
}

template <typename T, typename Read>
bool ReadMap(const rapidjson::Value& v, std::map<std::string, T>& out, Read read) {
    if (!v.IsObject()) return false;
    out.clear();
    for (const auto& m : v.GetObject()) {
        T value;
        if (!read(m.value, value)) return false;
        out[m.name.GetString()] = value;
    }
    return true;
}

// An object keyed by process ids.
template <typename T, typename Read>
bool ReadPidMap(const rapidjson::Value& v, std::map<DWORD, T>& out, Read read) {
    std::map<std::string, T> byText;
    if (!ReadMap<T>(v, byText, read)) return false;
    out.clear();
    for (const auto& [key, value] : byText) {
        char* end = nullptr;
        const unsigned long pid = std::strtoul(key.c_str(), &end, 10);
        if (key.empty() || *end != '\0' || pid > 0xFFFFFFFFul) return false;
        out[static_cast<DWORD>(pid)] = value;
    }
    return true;
}

bool ReadInt(const rapidjson::Value& v, int& out) {
    if (!v.IsInt()) return false;
    out = v.GetInt();
    return true;
}

template <typename U>
bool ReadUint(const rapidjson::Value& v, U& out) {
    if (!v.IsUint()) return false;
    out = static_cast<U>(v.GetUint());
    return true;
}

bool ReadString(const rapidjson::Value& v, std::string& out) {
    if (!v.IsString()) return false;
    out = v.GetString();
    return true;
}

bool ReadBool(const rapidjson::Value& v, bool& out) {
    if (!v.IsBool()) return false;
    out = v.GetBool();
    return true;
}

// Applies the settings of `doc` to `s`; false with a message at the first bad one.
bool Apply(const rapidjson::Document& doc, SimState& s, std::string& error) {
    for (const auto& m : doc.GetObject()) {
        const std::string key = m.name.GetString();
        const rapidjson::Value& v = m.value;
        bool ok;
        if (key == "network") ok = ReadBool(v, s.network);
        else if (key == "windowsVersion") {
            int version = 0;
            ok = ReadInt(v, version);
            s.windowsVersion = static_cast<WindowsVersion>(version);
        } else if (key == "foreground") ok = ReadString(v, s.foregroundTitle);
        else if (key == "foregroundClass") ok = ReadString(v, s.foregroundClass);
        else if (key == "slideShow") ok = ReadBool(v, s.slideShow);
        else if (key == "yesNo") ok = ReadBool(v, s.yesNoAnswer);
        else if (key == "wow64") ok = ReadBool(v, s.wow64);
        else if (key == "websites") ok = ReadMap<std::string>(v, s.websites, ReadString);
        else if (key == "programs") ok = ReadStringSet(v, s.programs);
        else if (key == "uninstallable") ok = ReadStringSet(v, s.uninstallable);
        else if (key == "userCommands") ok = ReadStringSet(v, s.userCommands);
        else if (key == "userFiles") ok = ReadStringSet(v, s.userFiles);
        else if (key == "hostCommands") ok = ReadStringSet(v, s.hostCommands);
        else if (key == "confidence") ok = ReadMap<int>(v, s.confidence, ReadInt);
        else if (key == "startErrors") ok = ReadMap<DWORD>(v, s.startErrors, ReadUint<DWORD>);
        else if (key == "windows") ok = ReadMap<DWORD>(v, s.windows, ReadUint<DWORD>);
        else if (key == "keepOpen") ok = ReadStringSet(v, s.keepOpen);
        else if (key == "hiddenWindows") ok = ReadStringSet(v, s.hiddenWindows);
        else if (key == "ownedWindows") ok = ReadStringSet(v, s.ownedWindows);
        else if (key == "processImages") ok = ReadPidMap<std::string>(v, s.processImages, ReadString);
        else if (key == "integrity") ok = ReadPidMap<DWORD>(v, s.integrityLevels, ReadUint<DWORD>);
        else if (key == "windowClasses") ok = ReadMap<DWORD>(v, s.windowClasses, ReadUint<DWORD>);
        else if (key == "processId") ok = ReadUint<DWORD>(v, s.processId);
        else if (key == "volume") ok = ReadInt(v, s.volume);
        else if (key == "muted") ok = ReadBool(v, s.muted);
        else if (key == "audio") ok = ReadBool(v, s.audioAvailable);
        else if (key == "brightness") ok = ReadInt(v, s.brightness);
        else if (key == "city") ok = ReadString(v, s.city);
        else if (key == "date") ok = ReadString(v, s.date);
        else if (key == "mac") ok = ReadString(v, s.mac);
        else if (key == "wordTemplate") ok = ReadBool(v, s.wordTemplateOk);
        else {
            error = "unknown sim setting \"" + key + "\"";
            return false;
        }
        if (!ok) {
            error = "sim setting \"" + key + "\" has the wrong type";
            return false;
        }
    }
    return true;
}

}  // namespace

bool SimDesktop::Configure(const std::string& json, std::string& error) {
    rapidjson::Document doc;
    doc.Parse(json.c_str(), json.size());
    if (doc.HasParseError() || !doc.IsObject()) {
        error = "sim settings must be a JSON object";
        return false;
    }
    // All or nothing: a bad setting leaves the state as it was.
    SimLock lock(m_mutex);
    SimState s = m_state;
    if (!Apply(doc, s, error)) return false;
    m_state = std::move(s);
    return true;
}

}  // namespace vesim
