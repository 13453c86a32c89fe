// The C API as a host might misuse it: the input is a program of calls with null, empty, odd
// and foreign arguments (handles, texts, kinds, api values, callback tables of any size).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "FuzzHarness.h"
#include "vescene/vescene.h"

namespace {

// Reads the program's bytes; past the end every read is zero.
struct Program {
    const std::string& bytes;
    std::size_t pos = 0;
    bool More() const { return pos < bytes.size(); }
    unsigned char Byte() { return More() ? static_cast<unsigned char>(bytes[pos++]) : 0; }
    int Int() {
        static constexpr int kOdd[] = {0, 1, 2, 3, 4, -1, -200, 200, 255, 256, 65536, INT32_MIN, INT32_MAX};
        const unsigned char b = Byte();
        return b < 26 ? kOdd[b % 13] : static_cast<int>(b) - 128;
    }
    // A text of the program, or null (length byte 255).
    std::optional<std::string> Text() {
        const unsigned char length = Byte();
        if (length == 255) return std::nullopt;
        std::string text = bytes.substr(std::min(pos, bytes.size()), length);
        pos += length;
        return text;
    }
};

const char* CStr(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

void VESCENE_CALL Tray(void*, const char*, int) {}
void VESCENE_CALL Text(void*, const char*) {}
void VESCENE_CALL Log(void*, const char*, int, int) {}
void VESCENE_CALL LogIcon(void*, const char*, void*) {}
void VESCENE_CALL Page(void*, int) {}
int VESCENE_CALL Yes(void*, const char*) { return 1; }
int VESCENE_CALL Acted(void*, const char*, int* logType) { return logType ? (*logType = 999, 1) : 0; }
int VESCENE_CALL ActedIcon(void*, const char*, int*, void** icon) { return icon ? (*icon = nullptr, 1) : 0; }
int VESCENE_CALL Level(void*, int level, int) { return level; }
int VESCENE_CALL Bright(void*, int level) { return level; }
int VESCENE_CALL Score(void*, const char*) { return -7; }
const char* VESCENE_CALL City(void*) { return nullptr; }
int VESCENE_CALL Zero(void*) { return 0; }
void VESCENE_CALL Nothing(void*) {}

VeHostCallbacks Stubbed() {
    VeHostCallbacks c{};
    c.size = sizeof c;
    c.tray = Tray;
    c.tray_question = Text;
    c.interactive_set = Tray;
    c.log = Log;
    c.log_icon = LogIcon;
    c.main_menu = Page;
    c.yes_or_no = Yes;
    c.shell_execute = Text;
    c.open_website = Acted;
    c.open_website_grm = Acted;
    c.open_program = ActedIcon;
    c.open_user_files = ActedIcon;
    c.uninstall_program = Acted;
    c.set_normal = Page;
    c.confidence_level = Score;
    c.open_user_self = ActedIcon;
    c.open_command = Yes;
    c.open_ai = Text;
    c.word_template = Yes;
    c.city = City;
    c.web_search = Text;
    c.set_volume = Level;
    c.set_brightness = Bright;
    c.check_net = Zero;
    c.os_version = Zero;
    c.elevate_permission = Nothing;
    return c;
}

void KeepEndpointsLocal() {
    for (const char* name : {"online", "songsearch"}) VeScene_SetEndpoint(name, "http://127.0.0.1:9");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vefuzz::Run(data, size, [](const std::string& input, vesim::SimDesktop&) {
        std::vector<VeSceneHandle*> handles;
        Program program{input};
        auto handle = [&]() -> VeSceneHandle* {
            const unsigned char b = program.Byte();
            return handles.empty() || b % 4 == 0 ? nullptr : handles[b % handles.size()];
        };
        for (int step = 0; step < 64 && program.More(); ++step) {
            switch (program.Byte() % 14) {
                case 0:
                    if (handles.size() < 4) handles.push_back(VeScene_Create());
                    break;
                case 1:
                    if (!handles.empty()) {
                        VeScene_Destroy(handles.back());
                        handles.pop_back();
                    } else {
                        VeScene_Destroy(nullptr);
                    }
                    break;
                case 2: {
                    auto* h = handle();
                    auto text = program.Text();
                    const int api = program.Int();
                    VeScene_ProcessM(h, CStr(text), api, program.Int());
                    break;
                }
                case 3: { auto* h = handle(); auto text = program.Text(); VeScene_ProcessP_normal(h, CStr(text)); break; }
                case 4: { auto* h = handle(); auto text = program.Text(); VeScene_ProcessP_PPT(h, CStr(text)); break; }
                case 5: { auto* h = handle(); auto text = program.Text(); VeScene_ProcessAI(h, CStr(text)); break; }
                case 6: {
                    auto* h = handle();
                    auto text = program.Text();
                    VeScene_ProcessM_office_xiao(h, CStr(text), program.Int());
                    break;
                }
                case 7: {
                    auto* h = handle();
                    // Read them whole: a dangling or unterminated text shows here.
                    for (const char* text : {VeScene_GetScene(h), VeScene_GetText(h)})
                        if (text) static_cast<void>(std::strlen(text));
                    break;
                }
                case 8: {
                    const unsigned char how = program.Byte();
                    if (how == 0) {
                        VeScene_SetHostCallbacks(nullptr);
                        break;
                    }
                    VeHostCallbacks table = how % 2 ? Stubbed() : VeHostCallbacks{};
                    table.size = std::min<std::size_t>(program.Byte() * sizeof(void*) / 2, sizeof table);
                    VeScene_SetHostCallbacks(&table);
                    break;
                }
                case 9: { auto dir = program.Text(); VeScene_SetDataDirectory(CStr(dir)); break; }
                case 10: {
                    auto name = program.Text();
                    auto url = program.Text();
                    VeScene_SetEndpoint(CStr(name), CStr(url));
                    KeepEndpointsLocal();  // whatever was set, nothing leaves the machine
                    break;
                }
                case 11: {
                    const int connectMs = program.Int();
                    VeScene_SetHttpTimeouts(connectMs, program.Int());
                    break;
                }
                case 12: VeScene_Release(); break;
                case 13: static_cast<void>(std::strlen(VeScene_Version())); break;
            }
        }
        for (auto* h : handles) VeScene_Destroy(h);
        VeScene_Release();
        VeScene_SetHostCallbacks(nullptr);
        VeScene_SetHttpTimeouts(0, 0);
        vefuzz::UseShippedData();
    });
}
