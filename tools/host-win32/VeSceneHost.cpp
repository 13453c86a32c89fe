// VeSceneHost: the reference host of VeScene.dll. A small always-on-top window: type (or dictate
// with the system's voice typing, Win+H) a sentence, press Enter, and the library carries it out
// in the window that had the focus before, and tells the host what it did through the callbacks
// below. Ctrl+Alt+V brings the window up from anywhere; 能说什么 lists what it understands.
//
//   VeSceneHost.exe                                  the window (one instance at a time)
//   VeSceneHost.exe --script FILE --log FILE [--answer yes|no] [--dry-run] [--show SECONDS]
//   VeSceneHost.exe --help
//
// A script has one utterance a line, optionally "mode<TAB>text" (modes: voice pen slideshow ai
// word powerpoint excel), and "answer<TAB>yes|no" sets the answer to the library's yes/no
// questions (default no). Each line runs through the same path as the text box; every callback
// and result goes to the log, UTF-8. Exits 0 when every line ran. A script runs without any
// window (so also where no display is), unless --show keeps the window up that long.
// --dry-run reaches nothing on the desktop: the library (VeScene_SetDryRun) and this host log
// each action they would have taken instead.
//
// The entries run on a worker thread of this host, never on its UI thread: an entry may wait for
// a program to close or an online request to stop, and the window stays responsive meanwhile.
// Callbacks post what they report to the UI thread.
//
// Only plain Win32 and the C API of vescene.h: the DLL is loaded with LoadLibraryW and its
// functions found with GetProcAddress, so this file builds with any Windows compiler.
// Text encodings: the API speaks UTF-8, the window UTF-16; Wide() and Utf8() convert at the seam.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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

std::wstring FromCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

bool IsUtf8(std::string_view bytes) {
    return bytes.empty() ||
           MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

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

// A whole UTF-8 file as UTF-16, without the byte-order mark Notepad may have written. A file
// that is no UTF-8 is read in the Chinese ANSI code page (GBK, 936), which older editors save
// in, and `gbk` tells the caller so, rather than every character turning into U+FFFD.
bool ReadText(const std::wstring& path, std::wstring& text, bool* gbk = nullptr) {
    UniqueHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > (16 << 20)) return false;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return false;
    bytes.resize(read);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    const bool utf8 = IsUtf8(bytes);
    if (gbk) *gbk = !utf8;
    text = utf8 ? Wide(bytes) : FromCodePage(936, bytes);
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
    // Plain text (typed, or from a recogniser without semantics) understood offline; the ini's
    // understanding=0 turns it off.
    bool understanding = true;
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

Settings LoadSettings() { return {IniValue(L"dataDirectory"), IniValue(L"online"), IniValue(L"understanding") != L"0"}; }

bool SaveSettings(const Settings& s) {
    // The profile functions keep a file in UTF-16 when it starts so; a new file would be in the
    // ANSI code page, where a Chinese path may not survive.
    if (UniqueHandle file = OpenFile(IniPath(), GENERIC_WRITE, CREATE_NEW)) WriteBytes(file.get(), "\xFF\xFE");
    return WritePrivateProfileStringW(L"host", L"dataDirectory", s.dataDirectory.c_str(), IniPath().c_str()) &&
           WritePrivateProfileStringW(L"host", L"online", s.onlineEndpoint.c_str(), IniPath().c_str()) &&
           WritePrivateProfileStringW(L"host", L"understanding", s.understanding ? L"1" : L"0", IniPath().c_str());
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
    // Optional: an older DLL lacks VeScene_GetLastError (and ::GetLastError keeps its name here)
    // and VeScene_SetDryRun.
    decltype(&VeScene_GetLastError) GetLibraryError = nullptr;
    decltype(&VeScene_SetDryRun) SetDryRun = nullptr;
    decltype(&VeScene_SetUnderstanding) SetUnderstanding = nullptr;

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
        Resolve(dll, "VeScene_SetDryRun", SetDryRun);
        Resolve(dll, "VeScene_SetUnderstanding", SetUnderstanding);
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

enum Control { kRun = IDOK, kModeBox = 100, kText, kTray, kInteractive, kLogList, kStatus, kPhrasesButton, kPhrasesBox };
enum Command { kShow = 200, kSettings, kQuit, kPasteResult, kShowPhrases, kModeFirst = 300 };
enum Message { WM_APP_EVENT = WM_APP + 1, WM_APP_NOTIFY, WM_APP_SCRIPT, WM_APP_SCRIPT_DONE, WM_APP_BUSY };
enum Timer { kCloseTimer = 1, kTrayRetryTimer };
constexpr int kHotkeyId = 1;
constexpr int kTrayRetries = 30;  // every 2 s: a minute for Explorer to come up at logon

// The one thread the entries run on: each job in the order it came, so the UI thread never
// waits for an entry (a close may take 5 s, an abandoned online request 3 s).
class Worker {
public:
    void Post(std::function<void()> job) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_thread.joinable()) m_thread = std::thread([this] { Loop(); });
            m_jobs.push_back(std::move(job));
        }
        m_wake.notify_one();
    }
    // Waits for the job in progress (and drops those not started): the library must not be
    // unloaded under an entry.
    void Stop() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_jobs.clear();
        }
        m_wake.notify_one();
        if (m_thread.joinable()) m_thread.join();
    }
    ~Worker() { Stop(); }

private:
    void Loop() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
                if (m_stopping) return;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            job();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};

struct App {
    Library lib;
    Worker worker;  // after lib: destroyed first, so no entry runs while the DLL goes
    std::atomic<HWND> window{nullptr};  // read by the callbacks of every thread
    HWND modeBox = nullptr, text = nullptr, tray = nullptr, interactive = nullptr, logList = nullptr, status = nullptr,
         settings = nullptr, phrases = nullptr;
    DWORD uiThread = 0;
    int mode = 0;
    int dpi = 96;
    std::unique_ptr<std::remove_pointer_t<HFONT>, decltype(&DeleteObject)> font{nullptr, DeleteObject};
    UINT taskbarCreated = 0;
    bool trayIcon = false;
    int trayRetries = 0;
    bool hotkey = false;
    // The last foreground window that was not this program's: the one an utterance is meant for.
    std::atomic<HWND> target{nullptr};
    HWINEVENTHOOK foregroundHook = nullptr;
    std::atomic<int> busy{0};  // jobs posted to the worker and not yet done
    // automation
    bool scripted = false, dryRun = false;
    std::atomic<bool> answerYes{false};
    int showSeconds = 0;
    std::wstring scriptPath, logPath;
    std::mutex logMutex;  // a headless run writes from the worker and the library's thread alike
    UniqueHandle log;
    std::atomic<int> failures{0};
    int exitCode = 0;
};
App g;

int Scale(int px) { return MulDiv(px, g.dpi, 96); }

void WriteLog(const std::wstring& line) {
    std::lock_guard lock(g.logMutex);
    if (g.log) WriteBytes(g.log.get(), Utf8(line) + "\n");
}

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
    WriteLog(e.line);
}

// Callbacks come on this program's worker thread (which calls the entries) and on the library's
// online-request thread. Windows belong to the thread that made them, so a callback posts its
// event to the UI thread instead of touching a window. Without a window (a headless script run)
// the event goes straight to the log.
void Report(std::wstring line, HWND shownIn = nullptr, std::wstring shown = {}) {
    if (!g.window) return WriteLog(line);
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
    if (g.window && !g.scripted) PostMessageW(g.window, WM_COMMAND, kShow, 0);  // posted: this may be any thread
}
// Blocks the calling thread (the worker, or the library's online thread) until answered, as
// the library expects; the window stays responsive meanwhile.
int VESCENE_CALL OnYesOrNo(void*, const char* question) {
    bool yes = g.answerYes;
    if (!g.scripted)
        yes = MessageBoxW(nullptr, Wide(question).c_str(), L"VeScene",
                          MB_YESNO | MB_ICONQUESTION | MB_TOPMOST | MB_SETFOREGROUND) == IDYES;
    Report(L"yes_or_no(" + Wide(question) + L") -> " + (yes ? L"yes" : L"no"));
    return yes;
}
// A page or file the library chose (a search, a site of its own tables); the library has
// checked web addresses already. This thread may be one nobody initialised COM on, which the
// shell needs.
void VESCENE_CALL OnShellExecute(void*, const char* target) {
    Report(L"shell_execute(" + Wide(target) + L")" + (g.dryRun ? L" (dry run: not opened)" : L""));
    if (g.dryRun) return;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC;  // the call returns only once the shell has done it: this thread may end
    info.lpVerb = L"open";
    const std::wstring file = Wide(target);
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) Report(L"could not open " + file + L" (error " + std::to_wstring(GetLastError()) + L")");
    if (SUCCEEDED(com)) CoUninitialize();
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
    if (g.lib.SetUnderstanding) g.lib.SetUnderstanding(s.understanding ? 1 : 0);
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
    // With the search fallback: what nothing understood is searched on the web from the desktop.
    case 0: rc = g.lib.ProcessM(s, result.c_str(), 1, 1); break;
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

std::wstring TitleOf(HWND window) {
    // InternalGetWindowText sends no message: a hung window cannot hold this thread.
    wchar_t title[256] = L"";
    InternalGetWindowText(window, title, 256);
    return title;
}

// Run on the worker once the window the utterance is meant for has the focus again: keys,
// copies and the foreground checks must reach that window, never this host's own.
void RunInTarget(int mode, const std::wstring& text, HWND target) {
    if (target) {
        for (int waited = 0; waited < 500 && GetForegroundWindow() != target; waited += 20) Sleep(20);
        Report(L"focus: " + TitleOf(target) + (GetForegroundWindow() == target ? L"" : L" (not yet in front)"));
    }
    if (Run(mode, text) == VESCENE_BAD_ARGUMENT) ++g.failures;
}

void ShowBusy() {
    const int busy = g.busy.load();
    SetWindowTextW(g.window, busy ? L"VeScene（执行中…）" : L"VeScene");
    if (busy) SetWindowTextW(g.status, (L"执行中…" + (busy > 1 ? L" 还有 " + std::to_wstring(busy - 1) + L" 句等待" : L"")).c_str());
}

// From the UI thread: the focus goes back to the window the user was in, and the entry runs on
// the worker, in the order the utterances came.
void Submit(int mode, std::wstring text) {
    HWND target = g.target.load();
    if (target && (!IsWindow(target) || !SetForegroundWindow(target))) target = nullptr;
    ++g.busy;
    ShowBusy();
    g.worker.Post([mode, text = std::move(text), target] {
        RunInTarget(mode, text, target);
        --g.busy;
        PostMessageW(g.window, WM_APP_BUSY, 0, 0);
    });
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
    Submit(g.mode, text.substr(start));
}

// ---- automation -------------------------------------------------------------------------------

int ModeNamed(const std::wstring& name) {
    for (int i = 0; i < kModeCount; ++i)
        if (name == Wide(kModes[i].name)) return i;
    return -1;
}

// Hands each line of the script to `step` in order (headless: runs it at once; with a window:
// posts it to the worker). Returns the failures found while reading (unknown lines), or -1
// when there is no script to read.
int ReadScript(const std::function<void(std::function<void()>)>& step) {
    std::wstring script;
    bool gbk = false;
    if (!ReadText(g.scriptPath, script, &gbk)) {
        Report(L"cannot read " + g.scriptPath);
        return -1;
    }
    if (gbk) Report(L"warning: " + g.scriptPath + L" is not UTF-8: read as GBK (code page 936); save scripts as UTF-8");
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
                step([yes = rest == L"yes"] { g.answerYes = yes; });
                continue;
            }
            if ((mode = ModeNamed(head)) < 0) {
                Report(L"unknown script line: " + line);
                ++failures;
                continue;
            }
            line = rest;
        }
        step([mode, line] { RunInTarget(mode, line, nullptr); });
    }
    return failures;
}

// 0 when every line ran, 1 when one could not (unknown mode, bad argument), 2 without a script.
int ExitCodeOf(int readFailures) {
    if (readFailures < 0) return 2;
    return readFailures + g.failures.load() ? 1 : 0;
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
    Settings s{WindowText(GetDlgItem(dialog, kDataDir)), WindowText(GetDlgItem(dialog, kOnline)), LoadSettings().understanding};
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

void CreateSystemFont();

// What the library understands by itself and what needs more, by kind (README: "What can I say").
const wchar_t kPhrases[] =
    L"能说什么（本机即可，无需联网）\r\n"
    L"  网页搜索：百度一下…、搜索…、查一下…   例：百度一下深度学习\r\n"
    L"  软件：打开 / 下载 / 安装 / 卸载 / 关闭 + 软件名   例：下载微信\r\n"
    L"  火车票：…火车票、…动车票\r\n"
    L"  Windows：记事本、计算器、画图、控制面板、任务管理器、我的电脑、截图\r\n"
    L"  编辑与窗口：复制、粘贴、剪切、全选、撤销、删除、最小化、最大化、关闭、显示桌面、刷新\r\n"
    L"  音量：音量调高、音量调低、静音、取消静音\r\n"
    L"  电源（先询问）：关机、重启、注销；锁定计算机\r\n"
    L"  主窗口：打开主窗口、日志、个人命令、录音转文字、个人热词\r\n"
    L"  VeScene.host.json 中的网站、命令与文件（设置…）\r\n"
    L"激光笔模式：记事本、控制面板、我的电脑、关闭、显示桌面、切换窗口、音量调到30、亮度调高、亮度调低、亮度正常\r\n"
    L"幻灯片放映模式：下一页、上一页、第三页、最后一页、播放、退出放映、返回桌面、亮度调高\r\n"
    L"Word / PowerPoint / Excel 模式：办公指令表中的命令，例：加粗、居中、保存\r\n"
    L"\r\n"
    L"需要语音引擎的语义结果或在线语义服务（设置…）\r\n"
    L"  天气、笑话、诗词、问答、地图、航班、酒店、美食、快递、股票、翻译、音乐、视频、新闻，\r\n"
    L"  以及只报网站名的“打开淘宝”之类。都不懂的话，桌面在前台时会在网页上搜索。\r\n"
    L"\r\n"
    L"Ctrl+Alt+V：随时唤出本窗口；命令在你之前所在的窗口里执行。";

void ShowPhrases(bool show) {
    ShowWindow(g.phrases, show ? SW_SHOW : SW_HIDE);
    ShowWindow(g.logList, show ? SW_HIDE : SW_SHOW);
    SetWindowTextW(GetDlgItem(g.window, kPhrasesButton), show ? L"日志" : L"能说什么");
}

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
    lstrcpynW(nid.szTip, L"VeScene（Ctrl+Alt+V）", sizeof nid.szTip / sizeof nid.szTip[0]);
    g.trayIcon = Shell_NotifyIconW(action, &nid) && action != NIM_DELETE;
}

// NIM_ADD fails while Explorer is not up yet (a host started at logon): try again for a while;
// TaskbarCreated adds it again whenever Explorer (re)starts.
void AddTrayIcon() {
    TrayIcon(NIM_ADD);
    if (g.trayIcon) {
        KillTimer(g.window, kTrayRetryTimer);
        g.trayRetries = 0;
    } else if (g.trayRetries++ < kTrayRetries) {
        SetTimer(g.window, kTrayRetryTimer, 2000, nullptr);
    } else {
        KillTimer(g.window, kTrayRetryTimer);
        Report(L"no notification-area icon: the task bar did not answer");
    }
}

// Remembers the last foreground window of another program: the one an utterance acts in.
void CALLBACK OnForeground(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object != OBJID_WINDOW || !window) return;
    window = GetAncestor(window, GA_ROOT);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (window && process != GetCurrentProcessId()) g.target = window;
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
    PostMessageW(g.window, WM_NULL, 0, 0);  // else the menu may not open again the next time
    DestroyMenu(menu);
}

void Layout(int width, int height) {
    int m = Scale(8), row = Scale(26), comboWidth = Scale(110), buttonWidth = Scale(70), y = m;
    MoveWindow(g.modeBox, m, y, comboWidth, Scale(200), TRUE);
    MoveWindow(g.text, 2 * m + comboWidth, y, width - 5 * m - comboWidth - 2 * buttonWidth, row, TRUE);
    MoveWindow(GetDlgItem(g.window, kRun), width - 2 * m - 2 * buttonWidth, y, buttonWidth, row, TRUE);
    MoveWindow(GetDlgItem(g.window, kPhrasesButton), width - m - buttonWidth, y, buttonWidth, row, TRUE);
    y += row + m;
    MoveWindow(g.tray, m, y, width - 2 * m, row, TRUE);
    MoveWindow(g.interactive, m, y + row, width - 2 * m, row, TRUE);
    y += 2 * row + m;
    MoveWindow(g.logList, m, y, width - 2 * m, height - y - row - m, TRUE);
    MoveWindow(g.phrases, m, y, width - 2 * m, height - y - row - m, TRUE);
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
        Child(w, L"BUTTON", L"能说什么", WS_TABSTOP, kPhrasesButton);
        g.phrases = Child(w, L"EDIT", kPhrases, WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, kPhrasesBox,
                          WS_EX_CLIENTEDGE);
        ShowWindow(g.phrases, SW_HIDE);
        return 0;
    case WM_SIZE: Layout(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kRun:  // the button, or Enter in the text box (IsDialogMessage sends IDOK)
            if (std::wstring text = WindowText(g.text); !text.empty()) {
                SetWindowTextW(g.text, L"");
                Submit(g.mode, std::move(text));
            }
            return 0;
        case kPhrasesButton:
        case kShowPhrases: ShowPhrases(LOWORD(wp) == kShowPhrases || !IsWindowVisible(g.phrases)); return 0;
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
    case WM_APP_BUSY: ShowBusy(); return 0;
    case WM_HOTKEY:  // Ctrl+Alt+V: the focus comes here; the utterance goes back where it was
        if (wp == kHotkeyId) SendMessageW(w, WM_COMMAND, kShow, 0);
        return 0;
    case WM_DPICHANGED: {
        g.dpi = HIWORD(wp);
        CreateSystemFont();
        for (HWND child = GetWindow(w, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(g.font.get()), TRUE);
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(w, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_APP_NOTIFY:
        if (lp == WM_LBUTTONUP || lp == WM_LBUTTONDBLCLK) SendMessageW(w, WM_COMMAND, kShow, 0);
        else if (lp == WM_RBUTTONUP) TrayMenu();
        return 0;
    case WM_APP_SCRIPT: {  // a script with the window up (--show): its lines on the worker, in order
        const int readFailures = ReadScript([](std::function<void()> job) { g.worker.Post(std::move(job)); });
        g.worker.Post([readFailures] { PostMessageW(g.window, WM_APP_SCRIPT_DONE, 0, ExitCodeOf(readFailures)); });
        return 0;
    }
    case WM_APP_SCRIPT_DONE:
        g.exitCode = static_cast<int>(lp);
        SetTimer(w, kCloseTimer, g.showSeconds * 1000, nullptr);
        return 0;
    case WM_TIMER:
        if (wp == kTrayRetryTimer) AddTrayIcon();
        else DestroyWindow(w);
        return 0;
    case WM_CLOSE:  // the close box hides: the host lives on in the notification area
        if (g.trayIcon) ShowWindow(w, SW_HIDE);
        else DestroyWindow(w);
        return 0;
    case WM_ENDSESSION:  // Windows ends the process after this returns: no way out through main
        if (wp) {
            g.worker.Stop();
            g.lib.Unload();
        }
        return 0;
    case WM_DESTROY:
        if (g.trayIcon) TrayIcon(NIM_DELETE);
        if (g.hotkey) UnregisterHotKey(w, kHotkeyId);
        PostQuitMessage(0);
        return 0;
    }
    if (msg == g.taskbarCreated && !g.scripted) {  // Explorer (re)started: its icons are gone
        g.trayRetries = 0;
        AddTrayIcon();
    }
    return DefWindowProcW(w, msg, wp, lp);
}

// The manifest makes the process per-monitor DPI aware (v2); the window follows each monitor's
// scale through WM_DPICHANGED. GetDpiForWindow is found at run time (Windows 10 1607 and later).
int WindowDpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    GetDpi get = nullptr;
    Resolve(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow", get);
    if (get && window) return static_cast<int>(get(window));
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The system's message font at the window's scale: the one Windows picked for the user's
// language, so Chinese text shows in its own typeface rather than in a substitute.
void CreateSystemFont() {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    ForDpi forDpi = nullptr;
    Resolve(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi", forDpi);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    bool read = forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, g.dpi);
    if (!read && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, g.dpi, WindowDpi(nullptr));
        read = true;
    }
    HFONT font = read ? CreateFontIndirectW(&metrics.lfMessageFont) : nullptr;
    g.font.reset(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));  // stock: deleting it is harmless
}

constexpr const wchar_t* kUsage =
    L"usage: VeSceneHost.exe                        the window: type or dictate, press Enter\n"
    L"       VeSceneHost.exe --script FILE --log FILE [--answer yes|no] [--dry-run] [--show SECONDS]\n"
    L"       VeSceneHost.exe --help\n"
    L"\n"
    L"--script FILE    runs FILE, UTF-8, one utterance a line or mode<TAB>text (modes: voice pen\n"
    L"                 slideshow ai word powerpoint excel); answer<TAB>yes|no answers the yes/no\n"
    L"                 questions. No window is made: it runs without a display too.\n"
    L"--log FILE       every callback and result, UTF-8 (required with --script)\n"
    L"--answer yes|no  the answer to the library's yes/no questions (default no)\n"
    L"--dry-run        nothing reaches the desktop: each action the library and this host would\n"
    L"                 take is logged instead\n"
    L"--show SECONDS   runs the script in the window and keeps it up that long\n"
    L"Exit status: 0 every line ran, 1 a line could not, 2 a usage or start-up error.\n";

// A GUI program has no console of its own: it writes to the one it was started from, or to
// the handle it was given (a redirected run, Wine from a shell). False when there is neither.
bool Print(DWORD which, const std::wstring& text) {
    HANDLE out = GetStdHandle(which);
    if ((!out || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) out = GetStdHandle(which);
    if (!out || out == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) return WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    std::wstring crlf;
    for (wchar_t c : text) crlf += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    return WriteBytes(out, Utf8(crlf));
}

// Shown where the user can see it: the console, else a message box (a double-clicked program).
void Tell(DWORD which, const std::wstring& text, UINT icon) {
    if (!Print(which, text)) MessageBoxW(nullptr, text.c_str(), L"VeScene", MB_OK | icon);
}

enum class Parsed { Run, Help, Bad };

Parsed ParseArguments(std::wstring& problem) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv + (argv ? 1 : 0), argv + (argv ? argc : 0));
    LocalFree(argv);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        bool more = i + 1 < args.size();
        if (a == L"--help" || a == L"-h" || a == L"/?" || a == L"-?") return Parsed::Help;
        if (a == L"--script" && more) g.scriptPath = args[++i];
        else if (a == L"--log" && more) g.logPath = args[++i];
        else if (a == L"--answer" && more && (args[i + 1] == L"yes" || args[i + 1] == L"no")) g.answerYes = args[++i] == L"yes";
        else if (a == L"--show" && more && _wtoi(args[i + 1].c_str()) > 0) g.showSeconds = _wtoi(args[++i].c_str());
        else if (a == L"--dry-run") g.dryRun = true;
        else {
            problem = L"unknown option or missing value: " + a;
            return Parsed::Bad;
        }
    }
    g.scripted = !g.scriptPath.empty();
    if (g.scripted && g.logPath.empty()) problem = L"--script needs --log FILE: a script's results go nowhere else";
    else if (!g.scripted && (!g.logPath.empty() || g.showSeconds)) problem = L"--log and --show go with --script";
    return problem.empty() ? Parsed::Run : Parsed::Bad;
}

void Fail(const std::wstring& text) {
    WriteLog(text);
    if (g.scripted) Print(STD_ERROR_HANDLE, L"VeSceneHost: " + text + L"\n");
    else MessageBoxW(nullptr, text.c_str(), L"VeScene", MB_OK | MB_ICONERROR);
}

// Loads the DLL and sets it up; an error text when it cannot.
std::wstring StartLibrary() {
    std::wstring dllPath = ExeDirectory() + L"VeScene.dll";
    if (std::wstring error = g.lib.Load(dllPath); !error.empty()) return error;
    if (g.dryRun && (!g.lib.SetDryRun || g.lib.SetDryRun(1) != 1))
        return dllPath + L" cannot do a dry run (VeScene_SetDryRun, 1.1.0 and later)";
    Report(L"VeScene " + Wide(g.lib.Version()) + L" (" + dllPath + L")" + (g.dryRun ? L", dry run" : L""));
    InstallCallbacks();
    ApplySettings(LoadSettings());
    return {};
}

// A script without a window: the lines run on this thread, one after another, and the events
// go straight to the log, so it runs where no window can be made (no display, a service).
int RunHeadless() {
    if (std::wstring error = StartLibrary(); !error.empty()) {
        Fail(error);
        return 2;
    }
    const int readFailures = ReadScript([](std::function<void()> job) { job(); });
    g.lib.Unload();  // Release first: no callback may come after this, the log closes next
    return ExitCodeOf(readFailures);
}

int Main() {
    std::wstring problem;
    switch (ParseArguments(problem)) {
    case Parsed::Help: Tell(STD_OUTPUT_HANDLE, kUsage, MB_ICONINFORMATION); return 0;
    case Parsed::Bad: Tell(STD_ERROR_HANDLE, L"VeSceneHost: " + problem + L"\n" + kUsage, MB_ICONERROR); return 2;
    case Parsed::Run: break;
    }
    if (!g.logPath.empty() && !(g.log = OpenFile(g.logPath, GENERIC_WRITE, CREATE_ALWAYS))) {
        Fail(L"cannot write " + g.logPath);
        return 2;
    }
    if (g.scripted && g.showSeconds == 0) return RunHeadless();

    // One window at a time; a script run is a test's own and must not meet the user's window.
    UniqueHandle instance;
    if (!g.scripted) {
        instance.reset(CreateMutexW(nullptr, TRUE, L"Local\\VeSceneHost"));
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            if (HWND other = FindWindowW(L"VeSceneHost", nullptr)) {
                // The running instance may take the foreground only when we, in front now, allow it.
                DWORD process = 0;
                GetWindowThreadProcessId(other, &process);
                AllowSetForegroundWindow(process);
                PostMessageW(other, WM_COMMAND, kShow, 0);
            }
            return 0;
        }
        g.target = GetForegroundWindow();  // where the user was when the host started
    }

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
    g.dpi = WindowDpi(nullptr);
    CreateSystemFont();
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, L"VeSceneHost", L"VeScene", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, Scale(600), Scale(440), nullptr, nullptr, module, nullptr);
    if (!window) {
        Fail(L"cannot create the window (error " + std::to_wstring(GetLastError()) + L"); a script runs without one");
        return 2;
    }
    if (int dpi = WindowDpi(window); dpi != g.dpi) {  // the monitor it opened on has its own scale
        g.dpi = dpi;
        CreateSystemFont();
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(g.font.get()), TRUE);
        SetWindowPos(window, nullptr, 0, 0, Scale(600), Scale(440), SWP_NOMOVE | SWP_NOZORDER);
    }
    // An elevated host hears Explorer's TaskbarCreated only when it lets the message through.
    ChangeWindowMessageFilterEx(window, g.taskbarCreated, MSGFLT_ALLOW, nullptr);

    if (std::wstring error = StartLibrary(); !error.empty()) {
        Fail(error);
        DestroyWindow(window);
        return 2;
    }

    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(g.text);
    if (g.scripted) {
        PostMessageW(window, WM_APP_SCRIPT, 0, 0);
    } else {
        AddTrayIcon();
        g.hotkey = RegisterHotKey(window, kHotkeyId, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, 'V');
        if (!g.hotkey) Report(L"Ctrl+Alt+V is taken by another program: no hotkey");
        g.foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnForeground, 0, 0,
                                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (g.settings && IsDialogMessageW(g.settings, &msg)) continue;
        if (IsDialogMessageW(g.window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (g.foregroundHook) UnhookWinEvent(g.foregroundHook);
    g.worker.Stop();  // the entry in progress ends first
    g.window = nullptr;  // from here on, events go straight to the log
    g.lib.Unload();  // Release, then the DLL goes: before the log closes, so nothing is lost
    return g.scripted ? g.exitCode : 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Main(); }
