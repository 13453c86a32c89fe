// VeSceneHost: the reference host of VeScene.dll. A small always-on-top window: type (or dictate
// with the system's voice typing, Win+H) a sentence, press Enter, and the library carries it out
// and tells the host what it did through the callbacks below.
//
//   VeSceneHost.exe                                  the window (one instance at a time)
//   VeSceneHost.exe --script FILE --log FILE [--answer yes|no] [--dry-run] [--show SECONDS]
//
// A script has one utterance a line, optionally "mode<TAB>text" (modes: voice pen slideshow ai
// word powerpoint excel), and "answer<TAB>yes|no" sets the answer to the library's yes/no
// questions (default no). Each line runs through the same path as the text box; every callback
// and result goes to the log, UTF-8. Exits 0 when every line ran. --dry-run logs the pages the
// library asks the host to open instead of opening them; --show keeps the window up that long.
//
// Only plain Win32 and the C API of vescene.h: the DLL is loaded with LoadLibraryW and its
// functions found with GetProcAddress, so this file builds with any Windows compiler.
// Text encodings: the API speaks UTF-8, the window UTF-16; Wide() and Utf8() convert at the seam.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "vescene/vescene.h"

namespace {

// ---- text ---------------------------------------------------------------------------------

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
    return text;
}
std::wstring Wide(const char* utf8) { return utf8 ? Wide(std::string_view(utf8)) : L"(null)"; }

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

// What a speech engine hands over for a spoken sentence it had no meaning for: the library
// takes it from there (local commands first, then the online service when one is set).
std::string UtteranceJson(const std::string& text) {
    std::string json = "{\"text\":\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') json += {'\\', static_cast<char>(c)};
        else if (c < 0x20) {
            char escaped[8];
            wsprintfA(escaped, "\\u%04x", c);
            json += escaped;
        } else json += static_cast<char>(c);
    }
    return json + "\",\"rc\":4}";
}

// An edit control breaks lines only at "\r\n".
std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
        out += text[i];
    }
    return out;
}

std::wstring WindowText(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return text;
}

// ---- files and settings ---------------------------------------------------------------------

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

UniqueHandle OpenFile(const std::wstring& path, DWORD access, DWORD disposition) {
    HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// A whole UTF-8 file as UTF-16, without the byte-order mark Notepad may have written.
bool ReadText(const std::wstring& path, std::wstring& text) {
    UniqueHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > (16 << 20)) return false;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return false;
    bytes.resize(read);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    text = Wide(bytes);
    return true;
}

bool WriteBytes(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
}

std::wstring ExeDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n;
    while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(n);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// The host's own settings (data directory, online endpoint) live in VeSceneHost.ini beside the
// program; its tables are the library's VeScene.host.json beside the DLL, which the library
// reads itself at every lookup, so this host needs no JSON reader of its own.
struct Settings {
    std::wstring dataDirectory;  // empty: the data folder beside the program
    std::wstring onlineEndpoint; // empty: no online service, nothing leaves the machine
};

std::wstring IniPath() { return ExeDirectory() + L"VeSceneHost.ini"; }
std::wstring TablesPath() { return ExeDirectory() + L"VeScene.host.json"; }

std::wstring IniValue(const wchar_t* key) {
    std::wstring value(256, L'\0');
    DWORD n;
    while ((n = GetPrivateProfileStringW(L"host", key, L"", value.data(), static_cast<DWORD>(value.size()),
                                         IniPath().c_str())) == value.size() - 1)
        value.resize(value.size() * 2);
    value.resize(n);
    return value;
}

Settings LoadSettings() { return {IniValue(L"dataDirectory"), IniValue(L"online")}; }

bool SaveSettings(const Settings& s) {
    // The profile functions keep a file in UTF-16 when it starts so; a new file would be in the
    // ANSI code page, where a Chinese path may not survive.
    if (UniqueHandle file = OpenFile(IniPath(), GENERIC_WRITE, CREATE_NEW)) WriteBytes(file.get(), "\xFF\xFE");
    return WritePrivateProfileStringW(L"host", L"dataDirectory", s.dataDirectory.c_str(), IniPath().c_str()) &&
           WritePrivateProfileStringW(L"host", L"online", s.onlineEndpoint.c_str(), IniPath().c_str());
}

// ---- the library ----------------------------------------------------------------------------

// GetProcAddress returns a generic pointer; the cast through void* tells the compiler we know.
template <typename F>
void Resolve(HMODULE dll, const char* name, F& slot) {
    slot = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// The DLL and the one scene handle of this host. Every way out goes through Unload: the
// library's online request runs on a thread of its own that calls back into this program, so
// VeScene_Release must end it before the callbacks' code and the DLL's code go away.
struct Library {
    HMODULE dll = nullptr;
    VeSceneHandle* scene = nullptr;
    decltype(&VeScene_Version) Version = nullptr;
    decltype(&VeScene_Create) Create = nullptr;
    decltype(&VeScene_Destroy) Destroy = nullptr;
    decltype(&VeScene_ProcessM) ProcessM = nullptr;
    decltype(&VeScene_ProcessP_normal) ProcessP_normal = nullptr;
    decltype(&VeScene_ProcessP_PPT) ProcessP_PPT = nullptr;
    decltype(&VeScene_ProcessAI) ProcessAI = nullptr;
    decltype(&VeScene_ProcessM_office_xiao) ProcessM_office_xiao = nullptr;
    decltype(&VeScene_GetScene) GetScene = nullptr;
    decltype(&VeScene_GetText) GetText = nullptr;
    decltype(&VeScene_Release) Release = nullptr;
    decltype(&VeScene_SetHostCallbacks) SetHostCallbacks = nullptr;
    decltype(&VeScene_SetDataDirectory) SetDataDirectory = nullptr;
    decltype(&VeScene_SetEndpoint) SetEndpoint = nullptr;
    // Optional: an older DLL lacks VeScene_GetLastError (and ::GetLastError keeps its name here).
    decltype(&VeScene_GetLastError) GetLibraryError = nullptr;

    // An error text when something is missing, else empty.
    std::wstring Load(const std::wstring& path) {
        // A full path: the DLL beside the program, never one found elsewhere on the search path.
        dll = LoadLibraryW(path.c_str());
        if (!dll) return L"cannot load " + path + L" (error " + std::to_wstring(GetLastError()) + L")";
        Resolve(dll, "VeScene_Version", Version);
        Resolve(dll, "VeScene_Create", Create);
        Resolve(dll, "VeScene_Destroy", Destroy);
        Resolve(dll, "VeScene_ProcessM", ProcessM);
        Resolve(dll, "VeScene_ProcessP_normal", ProcessP_normal);
        Resolve(dll, "VeScene_ProcessP_PPT", ProcessP_PPT);
        Resolve(dll, "VeScene_ProcessAI", ProcessAI);
        Resolve(dll, "VeScene_ProcessM_office_xiao", ProcessM_office_xiao);
        Resolve(dll, "VeScene_GetScene", GetScene);
        Resolve(dll, "VeScene_GetText", GetText);
        Resolve(dll, "VeScene_Release", Release);
        Resolve(dll, "VeScene_SetHostCallbacks", SetHostCallbacks);
        Resolve(dll, "VeScene_SetDataDirectory", SetDataDirectory);
        Resolve(dll, "VeScene_SetEndpoint", SetEndpoint);
        Resolve(dll, "VeScene_GetLastError", GetLibraryError);
        if (!Version || !Create || !Destroy || !ProcessM || !ProcessP_normal || !ProcessP_PPT || !ProcessAI ||
            !ProcessM_office_xiao || !GetScene || !GetText || !Release || !SetHostCallbacks || !SetDataDirectory ||
            !SetEndpoint)
            return path + L" lacks a function of the C API";
        scene = Create();
        return scene ? L"" : L"VeScene_Create failed";
    }

    // Why this thread's last call failed; empty when it did not, or when the DLL cannot say.
    std::wstring LastError() const {
        const char* error = GetLibraryError ? GetLibraryError() : nullptr;
        return error && *error ? Wide(error) : L"";
    }

    void Unload() {
        if (!dll) return;
        if (Release) Release();  // first: no callback may come after this
        if (scene) Destroy(scene);
        if (SetHostCallbacks) SetHostCallbacks(nullptr);
        FreeLibrary(dll);
        dll = nullptr;
        scene = nullptr;
    }
    ~Library() { Unload(); }
};

// ---- the host -------------------------------------------------------------------------------

struct Mode {
    const char* name;      // in scripts
    const wchar_t* label;  // in the window
};
const Mode kModes[] = {{"voice", L"语音"},   {"pen", L"激光笔"},           {"slideshow", L"幻灯片放映"}, {"ai", L"AI"},
                       {"word", L"Word"}, {"powerpoint", L"PowerPoint"}, {"excel", L"Excel"}};
constexpr int kModeCount = sizeof kModes / sizeof kModes[0];

enum Control { kRun = IDOK, kModeBox = 100, kText, kTray, kInteractive, kLogList, kStatus };
enum Command { kShow = 200, kSettings, kQuit, kPasteResult, kModeFirst = 300 };
enum Message { WM_APP_EVENT = WM_APP + 1, WM_APP_NOTIFY, WM_APP_SCRIPT };

struct App {
    Library lib;
    HWND window = nullptr, modeBox = nullptr, text = nullptr, tray = nullptr, interactive = nullptr,
         logList = nullptr, status = nullptr, settings = nullptr;
    DWORD uiThread = 0;
    int mode = 0;
    int dpi = 96;
    std::unique_ptr<std::remove_pointer_t<HFONT>, decltype(&DeleteObject)> font{nullptr, DeleteObject};
    UINT taskbarCreated = 0;
    bool trayIcon = false;
    // automation
    bool scripted = false, dryRun = false, answerYes = false;
    int showSeconds = 0;
    std::wstring scriptPath, logPath;
    UniqueHandle log;
    int exitCode = 0;
};
App g;

int Scale(int px) { return MulDiv(px, g.dpi, 96); }

// One thing the library told the host: a line for the log list and, for the result window's
// callbacks, the text to show.
struct Event {
    std::wstring line;
    HWND shownIn = nullptr;
    std::wstring shown;
};

void Show(Event& e) {
    if (e.shownIn) SetWindowTextW(e.shownIn, e.shown.c_str());
    if (SendMessageW(g.logList, LB_GETCOUNT, 0, 0) >= 5000) SendMessageW(g.logList, LB_DELETESTRING, 0, 0);  // a host runs for days
    LRESULT i = SendMessageW(g.logList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.line.c_str()));
    SendMessageW(g.logList, LB_SETTOPINDEX, i, 0);
    if (g.log) WriteBytes(g.log.get(), Utf8(e.line) + "\n");
}

// Callbacks come on the thread that called an entry (this program's UI thread) and on the
// library's online-request thread. Windows belong to the thread that made them, so a callback
// on another thread posts its event to the UI thread instead of touching a window.
void Report(std::wstring line, HWND shownIn = nullptr, std::wstring shown = {}) {
    auto e = std::make_unique<Event>(Event{std::move(line), shownIn, std::move(shown)});
    if (GetCurrentThreadId() == g.uiThread) return Show(*e);
    if (PostMessageW(g.window, WM_APP_EVENT, 0, reinterpret_cast<LPARAM>(e.get()))) e.release();  // the UI thread owns it now
}

const wchar_t* LogTypeName(int type) {
    switch (type) {
    case VESCENE_LOGTYPE_PEN_RESULT: return L"PenResult";  case VESCENE_LOGTYPE_FAILURE: return L"Failure";
    case VESCENE_LOGTYPE_BASE: return L"Base";  case VESCENE_LOGTYPE_WEATHER: return L"Weather";
    case VESCENE_LOGTYPE_WEB_SEARCH: return L"WebSearch";  case VESCENE_LOGTYPE_TRAIN: return L"Train";
    case VESCENE_LOGTYPE_FLIGHT: return L"Flight";  case VESCENE_LOGTYPE_VIDEO: return L"Video";
    case VESCENE_LOGTYPE_MUSIC: return L"Music";  case VESCENE_LOGTYPE_POETRY: return L"Poetry";
    case VESCENE_LOGTYPE_ANSWER: return L"Answer";  case VESCENE_LOGTYPE_MAP: return L"Map";
    case VESCENE_LOGTYPE_SHOPPING: return L"Shopping";  case VESCENE_LOGTYPE_JOKE: return L"Joke";
    case VESCENE_LOGTYPE_HOTEL: return L"Hotel";  case VESCENE_LOGTYPE_LOCAL_LIFE: return L"LocalLife";
    case VESCENE_LOGTYPE_WEBSITE: return L"Website";  case VESCENE_LOGTYPE_RECIPE: return L"Recipe";
    case VESCENE_LOGTYPE_PARCEL: return L"Parcel";  case VESCENE_LOGTYPE_STOCK: return L"Stock";
    case VESCENE_LOGTYPE_NEWS: return L"News";  case VESCENE_LOGTYPE_NOT_CARRIED_OUT: return L"NotCarriedOut";
    case VESCENE_LOGTYPE_TRANSLATION: return L"Translation";  case VESCENE_LOGTYPE_APPLICATION: return L"Application";
    case VESCENE_LOGTYPE_MAIN_MENU_WORD: return L"MainMenuWord";  case VESCENE_LOGTYPE_SLIDE_SHOW: return L"SlideShow";
    case VESCENE_LOGTYPE_WORD: return L"Word";  case VESCENE_LOGTYPE_EXCEL: return L"Excel";
    case VESCENE_LOGTYPE_OFFICE_TEMPLATE: return L"OfficeTemplate";  case VESCENE_LOGTYPE_SCREENSHOT: return L"Screenshot";
    case VESCENE_LOGTYPE_AI: return L"AI";
    }
    return L"?";
}

const wchar_t* ChannelName(int channel) {
    switch (channel) {
    case VESCENE_LOG: return L"log";
    case VESCENE_LOG_2: return L"log_2";
    case VESCENE_LOG_NOLT: return L"online";
    case VESCENE_LOG_DEBUG: return L"debug";
    }
    return L"?";
}

// The library's callbacks. Texts come in UTF-8 and are valid only during the call: copy them.
void VESCENE_CALL OnTray(void*, const char* text, int param) {
    Report(L"tray(" + Wide(text) + L", " + std::to_wstring(param) + L")", g.tray, Wide(text));
}
void VESCENE_CALL OnTrayQuestion(void*, const char* text) {
    Report(L"tray_question(" + Wide(text) + L")", g.tray, Wide(text));
}
void VESCENE_CALL OnInteractiveSet(void*, const char* text, int param) {
    std::wstring shown = text ? Wide(text) : L"";
    Report(L"interactive_set(" + Wide(text) + L", " + std::to_wstring(param) + L")", g.interactive, shown);
}
void VESCENE_CALL OnLog(void*, const char* text, int logType, int channel) {
    Report(L"log(" + Wide(text) + L", " + LogTypeName(logType) + L" " + std::to_wstring(logType) + L", " +
           ChannelName(channel) + L")");
}
// The icon is not ours to destroy: the library's own lookups keep theirs, and one this host
// handed back from open_program (it has none) would stay this host's. Draw it during the call only.
void VESCENE_CALL OnLogIcon(void*, const char* text, void*) { Report(L"log_icon(" + Wide(text) + L")"); }
void VESCENE_CALL OnMainMenu(void*, int page) {
    Report(L"main_menu(" + std::to_wstring(page) + L")");
    if (!g.scripted) PostMessageW(g.window, WM_COMMAND, kShow, 0);  // posted: this may be any thread
}
// Blocks the calling thread until answered, as the library expects. On the UI thread the main
// window owns the box, so it stays in front of it.
int VESCENE_CALL OnYesOrNo(void*, const char* question) {
    bool yes = g.answerYes;
    if (!g.scripted) {
        HWND owner = GetCurrentThreadId() == g.uiThread ? g.window : nullptr;
        yes = MessageBoxW(owner, Wide(question).c_str(), L"VeScene", MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) == IDYES;
    }
    Report(L"yes_or_no(" + Wide(question) + L") -> " + (yes ? L"yes" : L"no"));
    return yes;
}
// A page or file the library chose (a search, a site of its own tables); the library has
// checked web addresses already.
void VESCENE_CALL OnShellExecute(void*, const char* target) {
    Report(L"shell_execute(" + Wide(target) + L")");
    if (!g.dryRun) ShellExecuteW(nullptr, L"open", Wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The library's warnings as they happen, from whichever thread met them.
void VESCENE_CALL OnDiagnostic(void*, int level, const char* message) {
    const wchar_t* name = level == VESCENE_DIAG_ERROR ? L"error" : level == VESCENE_DIAG_WARNING ? L"warning" : L"info";
    Report(L"diagnostic(" + std::wstring(name) + L", " + Wide(message) + L")");
}
const wchar_t* OnlineStatusName(int status) {
    switch (status) {
    case VESCENE_ONLINE_DONE: return L"done";
    case VESCENE_ONLINE_NOT_DONE: return L"not done";
    case VESCENE_ONLINE_ABANDONED: return L"abandoned";
    case VESCENE_ONLINE_BAD_URL: return L"bad URL";
    case VESCENE_ONLINE_NO_CONNECTION: return L"no connection";
    case VESCENE_ONLINE_TIMEOUT: return L"timeout";
    case VESCENE_ONLINE_HTTP_STATUS: return L"HTTP error";
    case VESCENE_ONLINE_TOO_LARGE: return L"reply too large";
    case VESCENE_ONLINE_BAD_REPLY: return L"bad reply";
    }
    return L"?";
}
// What became of an online request: always from the library's worker thread.
void VESCENE_CALL OnOnlineResult(void*, const char* text, const char* scene, int status) {
    Report(L"online_result(" + Wide(text) + L", " + Wide(scene) + L", " + OnlineStatusName(status) + L" " +
           std::to_wstring(status) + L")");
}

// Only what a host must show or decide. The rest (tables from VeScene.host.json, programs,
// volume, brightness, the network) stays NULL and the library does it the Windows way itself.
void InstallCallbacks() {
    VeHostCallbacks cb{};
    cb.size = sizeof cb;
    cb.tray = OnTray;
    cb.tray_question = OnTrayQuestion;
    cb.interactive_set = OnInteractiveSet;
    cb.log = OnLog;
    cb.log_icon = OnLogIcon;
    cb.main_menu = OnMainMenu;
    cb.yes_or_no = OnYesOrNo;
    cb.shell_execute = OnShellExecute;
    cb.diagnostic = OnDiagnostic;
    cb.online_result = OnOnlineResult;
    // The library keeps a copy. An older DLL returns nothing: its status means something only
    // where VeScene_GetLastError exists.
    if (g.lib.SetHostCallbacks(&cb) != 1 && g.lib.GetLibraryError) Report(L"callbacks refused: " + g.lib.LastError());
}

void ApplySettings(const Settings& s) {
    std::wstring data = s.dataDirectory.empty() ? ExeDirectory() + L"data" : s.dataDirectory;
    if (g.lib.SetDataDirectory(Utf8(data).c_str()) != 1) Report(L"data directory refused: " + data + L" " + g.lib.LastError());
    // An empty endpoint restores the library's default.
    if (g.lib.SetEndpoint("online", Utf8(s.onlineEndpoint).c_str()) != 1)
        Report(L"online endpoint refused (http or https only): " + s.onlineEndpoint);
}

// The one way an utterance reaches the library, from the text box and from a script alike.
// A text starting with "{" is taken as a whole engine result (JSON) and passed as it is.
int Run(int mode, const std::wstring& text) {
    std::string input = Utf8(text);
    std::string result = !text.empty() && text[0] == L'{' ? input : UtteranceJson(input);
    Report(L"> " + std::wstring(kModes[mode].label) + L": " + text);
    VeSceneHandle* s = g.lib.scene;
    int rc;
    switch (mode) {
    case 0: rc = g.lib.ProcessM(s, result.c_str(), 1, 0); break;
    case 1: rc = g.lib.ProcessP_normal(s, result.c_str()); break;
    case 2: rc = g.lib.ProcessP_PPT(s, result.c_str()); break;
    case 3: rc = g.lib.ProcessAI(s, result.c_str()); break;
    default: rc = g.lib.ProcessM_office_xiao(s, result.c_str(), mode - 3); break;  // 1 Word, 2 PowerPoint, 3 Excel
    }
    if (std::wstring error = g.lib.LastError(); !error.empty()) Report(L"last error: " + error);
    std::wstring scene = Wide(g.lib.GetScene(s)), said = Wide(g.lib.GetText(s));
    Report(L"= " + std::to_wstring(rc) + L" scene \"" + scene + L"\" text \"" + said + L"\"", g.status,
           L"场景：" + scene + L"    文本：" + said + L"    结果：" + std::to_wstring(rc));
    return rc;
}

void SetMode(int mode) {
    g.mode = mode;
    SendMessageW(g.modeBox, CB_SETCURSEL, mode, 0);
}

// A whole engine result copied from elsewhere (a log, a capture of the engine's output), run in
// the current mode as the engine would hand it over.
void RunClipboardResult() {
    std::wstring text;
    if (OpenClipboard(g.window)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    const size_t start = text.find_first_not_of(L" \t\r\n");
    if (start == std::wstring::npos || text[start] != L'{') {
        Report(L"the clipboard holds no engine result (JSON)");
        return;
    }
    Run(g.mode, text.substr(start));
}

// ---- automation -------------------------------------------------------------------------------

int ModeNamed(const std::wstring& name) {
    for (int i = 0; i < kModeCount; ++i)
        if (name == Wide(kModes[i].name)) return i;
    return -1;
}

// 0 when every line ran, 1 when one could not (unknown mode, bad argument), 2 without a script.
int RunScript() {
    std::wstring script;
    if (!ReadText(g.scriptPath, script)) {
        Report(L"cannot read " + g.scriptPath);
        return 2;
    }
    int failures = 0;
    size_t start = 0;
    while (start < script.size()) {
        size_t end = script.find(L'\n', start);
        if (end == std::wstring::npos) end = script.size();
        std::wstring line = script.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.empty() || line[0] == L'#') continue;
        int mode = 0;
        size_t tab = line.find(L'\t');
        if (tab != std::wstring::npos) {
            std::wstring head = line.substr(0, tab), rest = line.substr(tab + 1);
            if (head == L"answer" && (rest == L"yes" || rest == L"no")) {
                g.answerYes = rest == L"yes";
                continue;
            }
            if ((mode = ModeNamed(head)) < 0) {
                Report(L"unknown script line: " + line);
                ++failures;
                continue;
            }
            line = rest;
        }
        SetMode(mode);
        SetWindowTextW(g.text, line.c_str());
        if (Run(mode, line) == VESCENE_BAD_ARGUMENT) ++failures;
    }
    return failures ? 1 : 0;
}

// ---- the settings dialog ----------------------------------------------------------------------

enum SettingsControl { kDataDir = 400, kOnline, kTables };

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
    HWND h = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(g.font.get()), FALSE);
    return h;
}

bool SaveSettingsFrom(HWND dialog) {
    std::wstring tables = WindowText(GetDlgItem(dialog, kTables));
    size_t first = tables.find_first_not_of(L" \t\r\n");
    if (first != std::wstring::npos && tables[first] != L'{') {
        MessageBoxW(dialog, L"VeScene.host.json 应为一个 JSON 对象（以 { 开头）。", L"VeScene", MB_OK | MB_ICONWARNING);
        return false;
    }
    Settings s{WindowText(GetDlgItem(dialog, kDataDir)), WindowText(GetDlgItem(dialog, kOnline))};
    UniqueHandle file = OpenFile(TablesPath(), GENERIC_WRITE, CREATE_ALWAYS);
    if (!SaveSettings(s) || !file || !WriteBytes(file.get(), Utf8(tables))) {
        MessageBoxW(dialog, (L"无法保存设置：" + IniPath() + L"\n" + TablesPath()).c_str(), L"VeScene", MB_OK | MB_ICONERROR);
        return false;
    }
    ApplySettings(s);
    return true;
}

// Modal without a dialog template: the owner is disabled while it is open, and the main
// message loop's IsDialogMessage gives it Tab, Enter (IDOK) and Esc (IDCANCEL).
LRESULT CALLBACK SettingsProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        Settings s = LoadSettings();
        std::wstring tables;
        if (!ReadText(TablesPath(), tables)) tables = L"{\n  \"websites\": {},\n  \"commands\": {},\n  \"files\": {},\n  \"templates\": {}\n}\n";
        tables = WithCrLf(tables);
        int m = Scale(10), row = Scale(24), width = Scale(520), y = m;
        auto place = [&](HWND h, int height) {
            MoveWindow(h, m, y, width - 2 * m, height, FALSE);
            y += height + Scale(4);
        };
        place(Child(w, L"STATIC", L"数据目录（空：程序旁的 data 文件夹）", 0, -1), row);
        place(Child(w, L"EDIT", s.dataDirectory.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, kDataDir, WS_EX_CLIENTEDGE), row);
        place(Child(w, L"STATIC", L"在线语义服务地址（空：不联网）", 0, -1), row);
        place(Child(w, L"EDIT", s.onlineEndpoint.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, kOnline, WS_EX_CLIENTEDGE), row);
        place(Child(w, L"STATIC", L"VeScene.host.json：网站、命令、文件与模板表", 0, -1), row);
        place(Child(w, L"EDIT", tables.c_str(),
                    WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, kTables, WS_EX_CLIENTEDGE),
              Scale(200));
        HWND ok = Child(w, L"BUTTON", L"确定", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
        HWND cancel = Child(w, L"BUTTON", L"取消", WS_TABSTOP, IDCANCEL);
        MoveWindow(ok, width - m - Scale(180), y + Scale(4), Scale(85), Scale(28), FALSE);
        MoveWindow(cancel, width - m - Scale(85), y + Scale(4), Scale(85), Scale(28), FALSE);
        RECT r{0, 0, width, y + Scale(44)};
        AdjustWindowRectEx(&r, GetWindowLongW(w, GWL_STYLE), FALSE, GetWindowLongW(w, GWL_EXSTYLE));
        SetWindowPos(w, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK && !SaveSettingsFrom(w)) return 0;
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) DestroyWindow(w);
        return 0;
    case WM_CLOSE: DestroyWindow(w); return 0;
    case WM_DESTROY:
        EnableWindow(g.window, TRUE);  // before the dialog is gone, so the owner gets the focus back
        g.settings = nullptr;
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

void OpenSettings() {
    if (g.settings) return (void)SetForegroundWindow(g.settings);
    RECT r;
    GetWindowRect(g.window, &r);
    g.settings = CreateWindowExW(WS_EX_TOPMOST | WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, L"VeSceneHostSettings",
                                 L"VeScene 设置", WS_POPUP | WS_CAPTION | WS_SYSMENU, r.left + Scale(20), r.top + Scale(20),
                                 Scale(300), Scale(300), g.window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!g.settings) return;
    EnableWindow(g.window, FALSE);
    ShowWindow(g.settings, SW_SHOW);
}

// ---- the main window ----------------------------------------------------------------------------

// The notification-area icon. LoadIcon's stock icon is shared and never destroyed; an icon a
// host makes itself (LoadImage, CreateIcon) is its own to DestroyIcon after NIM_DELETE.
void TrayIcon(DWORD action) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = g.window;
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_APP_NOTIFY;
    nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(nid.szTip, L"VeScene", sizeof nid.szTip / sizeof nid.szTip[0]);
    g.trayIcon = Shell_NotifyIconW(action, &nid) && action != NIM_DELETE;
}

void TrayMenu() {
    HMENU modes = CreatePopupMenu(), menu = CreatePopupMenu();  // DestroyMenu(menu) frees the submenu too
    for (int i = 0; i < kModeCount; ++i) AppendMenuW(modes, MF_STRING, kModeFirst + i, kModes[i].label);
    CheckMenuRadioItem(modes, kModeFirst, kModeFirst + kModeCount - 1, kModeFirst + g.mode, MF_BYCOMMAND);
    AppendMenuW(menu, MF_STRING, kShow, L"显示");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(modes), L"模式");
    AppendMenuW(menu, MF_STRING, kPasteResult, L"运行剪贴板中的识别结果（JSON）");
    AppendMenuW(menu, MF_STRING, kSettings, L"设置…");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kQuit, L"退出");
    POINT p;
    GetCursorPos(&p);
    SetForegroundWindow(g.window);  // else the menu does not close when the user clicks elsewhere
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, p.x, p.y, 0, g.window, nullptr);
    DestroyMenu(menu);
}

void Layout(int width, int height) {
    int m = Scale(8), row = Scale(26), comboWidth = Scale(110), buttonWidth = Scale(70), y = m;
    MoveWindow(g.modeBox, m, y, comboWidth, Scale(200), TRUE);
    MoveWindow(g.text, 2 * m + comboWidth, y, width - 4 * m - comboWidth - buttonWidth, row, TRUE);
    MoveWindow(GetDlgItem(g.window, kRun), width - m - buttonWidth, y, buttonWidth, row, TRUE);
    y += row + m;
    MoveWindow(g.tray, m, y, width - 2 * m, row, TRUE);
    MoveWindow(g.interactive, m, y + row, width - 2 * m, row, TRUE);
    y += 2 * row + m;
    MoveWindow(g.logList, m, y, width - 2 * m, height - y - row - m, TRUE);
    MoveWindow(g.status, m, height - row, width - 2 * m, row, TRUE);
}

LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        g.window = w;
        g.modeBox = Child(w, L"COMBOBOX", nullptr, WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, kModeBox);
        for (const Mode& mode : kModes) SendMessageW(g.modeBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode.label));
        SendMessageW(g.modeBox, CB_SETCURSEL, 0, 0);
        g.text = Child(w, L"EDIT", nullptr, WS_TABSTOP | ES_AUTOHSCROLL, kText, WS_EX_CLIENTEDGE);
        Child(w, L"BUTTON", L"执行", WS_TABSTOP | BS_DEFPUSHBUTTON, kRun);
        g.tray = Child(w, L"STATIC", L"说或输入一句话，按 Enter（Win+H 语音输入）", SS_LEFTNOWORDWRAP, kTray);
        g.interactive = Child(w, L"STATIC", nullptr, SS_LEFTNOWORDWRAP, kInteractive);
        g.logList = Child(w, L"LISTBOX", nullptr, WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, kLogList,
                          WS_EX_CLIENTEDGE);
        SendMessageW(g.logList, LB_SETHORIZONTALEXTENT, Scale(2000), 0);
        g.status = Child(w, L"STATIC", nullptr, SS_LEFTNOWORDWRAP, kStatus);
        return 0;
    case WM_SIZE: Layout(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kRun:  // the button, or Enter in the text box (IsDialogMessage sends IDOK)
            if (std::wstring text = WindowText(g.text); !text.empty()) {
                Run(g.mode, text);
                SetWindowTextW(g.text, L"");
            }
            return 0;
        case kModeBox:
            if (HIWORD(wp) == CBN_SELCHANGE) g.mode = static_cast<int>(SendMessageW(g.modeBox, CB_GETCURSEL, 0, 0));
            return 0;
        case kShow:
            ShowWindow(w, SW_SHOWNORMAL);
            SetForegroundWindow(w);
            SetFocus(g.text);
            return 0;
        case kPasteResult: RunClipboardResult(); return 0;
        case kSettings: OpenSettings(); return 0;
        case kQuit: DestroyWindow(w); return 0;
        }
        if (LOWORD(wp) >= kModeFirst && LOWORD(wp) < kModeFirst + kModeCount) SetMode(LOWORD(wp) - kModeFirst);
        return 0;
    case WM_APP_EVENT: {
        std::unique_ptr<Event> e(reinterpret_cast<Event*>(lp));
        Show(*e);
        return 0;
    }
    case WM_APP_NOTIFY:
        if (lp == WM_LBUTTONUP || lp == WM_LBUTTONDBLCLK) SendMessageW(w, WM_COMMAND, kShow, 0);
        else if (lp == WM_RBUTTONUP) TrayMenu();
        return 0;
    case WM_APP_SCRIPT:
        g.exitCode = RunScript();
        if (g.showSeconds > 0) SetTimer(w, 1, g.showSeconds * 1000, nullptr);
        else DestroyWindow(w);
        return 0;
    case WM_TIMER: DestroyWindow(w); return 0;
    case WM_CLOSE:  // the close box hides: the host lives on in the notification area
        if (g.trayIcon) ShowWindow(w, SW_HIDE);
        else DestroyWindow(w);
        return 0;
    case WM_ENDSESSION:  // Windows ends the process after this returns: no way out through main
        if (wp) g.lib.Unload();
        return 0;
    case WM_DESTROY:
        if (g.trayIcon) TrayIcon(NIM_DELETE);
        PostQuitMessage(0);
        return 0;
    }
    if (msg == g.taskbarCreated && g.trayIcon) TrayIcon(NIM_ADD);  // Explorer restarted: its icons are gone
    return DefWindowProcW(w, msg, wp, lp);
}

// System-wide DPI awareness: one font and one layout for the process, drawn sharp at any
// scale. SetProcessDpiAwarenessContext is found at run time, as it is missing before Windows 10.
void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    SetContext set = nullptr;
    Resolve(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext", set);
    if (!set || !set(reinterpret_cast<HANDLE>(-2)))  // DPI_AWARENESS_CONTEXT_SYSTEM_AWARE
        SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    g.dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

// The system's message font: the one Windows picked for the user's language, so Chinese text
// shows in its own typeface rather than in a substitute.
void CreateSystemFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        g.font.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    if (!g.font) g.font.reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));  // stock: deleting it is harmless
}

bool ParseArguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv + (argv ? 1 : 0), argv + (argv ? argc : 0));
    LocalFree(argv);
    for (size_t i = 0; i < args.size(); ++i) {
        bool more = i + 1 < args.size();
        if (args[i] == L"--script" && more) g.scriptPath = args[++i];
        else if (args[i] == L"--log" && more) g.logPath = args[++i];
        else if (args[i] == L"--answer" && more && (args[i + 1] == L"yes" || args[i + 1] == L"no")) g.answerYes = args[++i] == L"yes";
        else if (args[i] == L"--show" && more) g.showSeconds = _wtoi(args[++i].c_str());
        else if (args[i] == L"--dry-run") g.dryRun = true;
        else return false;
    }
    g.scripted = !g.scriptPath.empty();
    return true;
}

void Fail(const std::wstring& text) {
    if (g.log) WriteBytes(g.log.get(), Utf8(text) + "\n");
    if (!g.scripted) MessageBoxW(nullptr, text.c_str(), L"VeScene", MB_OK | MB_ICONERROR);
}

int Main() {
    if (!ParseArguments()) {
        Fail(L"usage: VeSceneHost.exe [--script FILE --log FILE [--answer yes|no] [--dry-run] [--show SECONDS]]");
        return 2;
    }
    if (!g.logPath.empty() && !(g.log = OpenFile(g.logPath, GENERIC_WRITE, CREATE_ALWAYS))) {
        Fail(L"cannot write " + g.logPath);
        return 2;
    }
    // One window at a time; a script run is a test's own and must not meet the user's window.
    UniqueHandle instance;
    if (!g.scripted) {
        instance.reset(CreateMutexW(nullptr, TRUE, L"Local\\VeSceneHost"));
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            if (HWND other = FindWindowW(L"VeSceneHost", nullptr)) PostMessageW(other, WM_COMMAND, kShow, 0);
            return 0;
        }
    }
    BecomeDpiAware();
    CreateSystemFont();

    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = L"VeSceneHost";
    RegisterClassW(&wc);
    wc.lpfnWndProc = SettingsProc;
    wc.lpszClassName = L"VeSceneHostSettings";
    RegisterClassW(&wc);
    g.uiThread = GetCurrentThreadId();
    g.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    // Made even when nothing is shown: the callbacks' events reach the UI thread through it.
    if (!CreateWindowExW(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, L"VeSceneHost", L"VeScene", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, Scale(560), Scale(420), nullptr, nullptr, module, nullptr)) {
        Fail(L"cannot create the window");
        return 2;
    }

    std::wstring dllPath = ExeDirectory() + L"VeScene.dll";
    if (std::wstring error = g.lib.Load(dllPath); !error.empty()) {
        Fail(error);
        DestroyWindow(g.window);
        return 2;
    }
    Report(L"VeScene " + Wide(g.lib.Version()) + L" (" + dllPath + L")");
    InstallCallbacks();
    ApplySettings(LoadSettings());

    if (!g.scripted || g.showSeconds > 0) {
        ShowWindow(g.window, SW_SHOWNORMAL);
        SetFocus(g.text);
    }
    if (!g.scripted) TrayIcon(NIM_ADD);
    if (g.scripted) PostMessageW(g.window, WM_APP_SCRIPT, 0, 0);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (g.settings && IsDialogMessageW(g.settings, &msg)) continue;
        if (IsDialogMessageW(g.window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g.lib.Unload();  // Release, then the DLL goes: before the log closes, so nothing is lost
    return g.scripted ? g.exitCode : 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Main(); }
