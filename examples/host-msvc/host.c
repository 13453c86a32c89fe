/* A host built with an MSVC-ABI toolchain (clang-cl and lld-link here; cl.exe and link.exe the
   same) that links VeScene.dll through the package's import library VeScene.lib, as a Windows
   host developer would. It is compiled with /Gz (every function __stdcall unless it says
   otherwise), so it works only because the C API and its callbacks carry their convention
   (VESCENE_CALL) themselves.

   No C runtime and no Windows SDK: it imports kernel32 and the C API only, declares the few
   kernel32 functions it calls, writes with WriteFile and has its own entry point.

   It checks that the library's version (VeScene_Version and the DLL's version resource) is the
   header's, runs a web search and an application start through VeScene_ProcessM with its
   callbacks installed, and exits 0 only when the expected callbacks came. */
#include "vescene/vescene.h"

/* --- kernel32, declared by hand (no SDK) --- */
typedef unsigned long DWORD;
typedef void* HANDLE;
typedef void* HMODULE;
typedef int(__stdcall* FARPROC)(void);
#define STD_OUTPUT_HANDLE ((DWORD)-11)
#define CP_UTF8 65001u

__declspec(dllimport) HANDLE __stdcall GetStdHandle(DWORD which);
__declspec(dllimport) int __stdcall WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);
__declspec(dllimport) HMODULE __stdcall GetModuleHandleW(const wchar_t* name);
__declspec(dllimport) DWORD __stdcall GetModuleFileNameW(HMODULE module, wchar_t* path, DWORD size);
__declspec(dllimport) HMODULE __stdcall LoadLibraryW(const wchar_t* name);
__declspec(dllimport) FARPROC __stdcall GetProcAddress(HMODULE module, const char* name);
__declspec(dllimport) int __stdcall WideCharToMultiByte(unsigned int codePage, DWORD flags, const wchar_t* wide, int wideLength,
                                                        char* bytes, int size, const char* defaultChar, int* usedDefault);

/* version.dll, loaded at run time so that the host imports kernel32 alone. */
typedef struct VS_FIXEDFILEINFO {
    DWORD dwSignature, dwStrucVersion, dwFileVersionMS, dwFileVersionLS, dwProductVersionMS, dwProductVersionLS;
    DWORD dwFileFlagsMask, dwFileFlags, dwFileOS, dwFileType, dwFileSubtype, dwFileDateMS, dwFileDateLS;
} VS_FIXEDFILEINFO;
typedef DWORD(__stdcall* GetFileVersionInfoSizeWFn)(const wchar_t* file, DWORD* handle);
typedef int(__stdcall* GetFileVersionInfoWFn)(const wchar_t* file, DWORD handle, DWORD size, void* data);
typedef int(__stdcall* VerQueryValueWFn)(const void* block, const wchar_t* subBlock, void** buffer, unsigned int* length);

/* The compiler may call memset for a zeroed aggregate; without a C runtime the host has its own
   (cl.exe would want "#pragma function(memset)" before it). */
void* __cdecl memset(void* destination, int value, size_t size);
void* __cdecl memset(void* destination, int value, size_t size) {
    volatile unsigned char* byte = (volatile unsigned char*)destination;
    while (size--) *byte++ = (unsigned char)value;
    return destination;
}

/* --- output and the calls seen --- */
static unsigned Length(const char* text) {
    unsigned n = 0;
    while (text[n]) ++n;
    return n;
}

static void Out(const char* text) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, Length(text), &written, 0);
}

static char g_calls[16384];
static unsigned g_length;

static void Add(const char* text) {
    while (*text && g_length + 2 < sizeof g_calls) g_calls[g_length++] = *text++;
    g_calls[g_length] = '\0';
}

static void AddInt(int value) {
    char digits[12];
    int n = 0;
    unsigned magnitude = value < 0 ? 0u - (unsigned)value : (unsigned)value;
    do digits[n++] = (char)('0' + magnitude % 10); while (magnitude /= 10);
    if (value < 0) Add("-");
    while (n) {
        char one[2] = {digits[--n], 0};
        Add(one);
    }
}

static void EndCall(unsigned start) {
    Add("\n");
    Out("  host: ");
    Out(g_calls + start);
}

static int StartsWith(const char* text, const char* prefix) {
    while (*prefix)
        if (*text++ != *prefix++) return 0;
    return 1;
}

/* Whether a call line starts with `want`. */
static int Seen(const char* want) {
    const char* line = g_calls;
    while (*line) {
        if (StartsWith(line, want)) return 1;
        while (*line && *line != '\n') ++line;
        if (*line) ++line;
    }
    return 0;
}

static int Same(const char* a, const char* b) { return Length(a) == Length(b) && StartsWith(a, b); }

/* --- the host's services: each carries VESCENE_CALL, or /Gz would make it __stdcall --- */
static void VESCENE_CALL OnTray(void* user, const char* text, int param) {
    unsigned start = g_length;
    (void)user;
    Add("tray("), Add(text), Add(", "), AddInt(param), Add(")");
    EndCall(start);
}
static void VESCENE_CALL OnInteractiveSet(void* user, const char* text, int param) {
    unsigned start = g_length;
    (void)user;
    Add("interactive_set("), Add(text ? text : "NULL"), Add(", "), AddInt(param), Add(")");
    EndCall(start);
}
static void VESCENE_CALL OnLog(void* user, const char* text, int logType, int channel) {
    unsigned start = g_length;
    (void)user;
    Add("log("), Add(text), Add(", "), AddInt(logType), Add(", "), AddInt(channel), Add(")");
    EndCall(start);
}
static int VESCENE_CALL OnYesOrNo(void* user, const char* question) {
    unsigned start = g_length;
    (void)user;
    Add("yes_or_no("), Add(question), Add(")");
    EndCall(start);
    return 0;
}
static void VESCENE_CALL OnShellExecute(void* user, const char* target) {
    unsigned start = g_length;
    (void)user;
    Add("shell_execute("), Add(target), Add(")");
    EndCall(start);
}
static int VESCENE_CALL OnOpenWebsite(void* user, const char* name, int* logType) {
    unsigned start = g_length;
    (void)user, (void)logType;
    Add("open_website("), Add(name), Add(")");
    EndCall(start);
    return 0;
}
static int VESCENE_CALL OnOpenProgram(void* user, const char* name, int* logType, void** icon) {
    unsigned start = g_length;
    (void)user, (void)logType, (void)icon;
    Add("open_program("), Add(name), Add(")");
    EndCall(start);
    return Same(name, "记事本"); /* the one program this host has */
}
static int VESCENE_CALL OnOpenUserSelf(void* user, const char* name, int* logType, void** icon) {
    unsigned start = g_length;
    (void)user, (void)logType, (void)icon;
    Add("open_user_self("), Add(name), Add(")");
    EndCall(start);
    return 0;
}
static int VESCENE_CALL OnConfidenceLevel(void* user, const char* text) {
    (void)user, (void)text;
    return -1;
}
static void VESCENE_CALL OnWebSearch(void* user, const char* text) {
    unsigned start = g_length;
    (void)user;
    Add("web_search("), Add(text), Add(")");
    EndCall(start);
}
static int VESCENE_CALL OnCheckNet(void* user) {
    (void)user;
    return 0; /* offline: neither utterance may wait for the online service */
}

/* --- the checks --- */
static int g_failures;

static void Check(int ok, const char* what) {
    if (!ok) {
        Out("  MISSING: "), Out(what), Out("\n");
        ++g_failures;
    }
}

/* The directory of VeScene.dll as UTF-8, with `leaf` appended; the DLL's full path in `dll`. */
static int DllDirectory(wchar_t* dll, unsigned dllSize, char* utf8, int utf8Size, const char* leaf) {
    DWORD n = GetModuleFileNameW(GetModuleHandleW(L"VeScene.dll"), dll, dllSize);
    if (n == 0 || n >= dllSize) return 0;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, dll, (int)n, utf8, utf8Size - 32, 0, 0);
    if (bytes <= 0) return 0;
    while (bytes > 0 && utf8[bytes - 1] != '\\' && utf8[bytes - 1] != '/') --bytes;
    while (*leaf) utf8[bytes++] = *leaf++;
    utf8[bytes] = '\0';
    return 1;
}

/* The FILEVERSION of the DLL's version resource, through version.dll. */
static unsigned char g_versionInfo[8192];
static int ResourceVersion(const wchar_t* dll, DWORD* ms, DWORD* ls) {
    HMODULE version = LoadLibraryW(L"version.dll");
    if (!version) return 0;
    GetFileVersionInfoSizeWFn size = (GetFileVersionInfoSizeWFn)GetProcAddress(version, "GetFileVersionInfoSizeW");
    GetFileVersionInfoWFn read = (GetFileVersionInfoWFn)GetProcAddress(version, "GetFileVersionInfoW");
    VerQueryValueWFn query = (VerQueryValueWFn)GetProcAddress(version, "VerQueryValueW");
    if (!size || !read || !query) return 0;
    DWORD ignored = 0, bytes = size(dll, &ignored);
    if (bytes == 0 || bytes > sizeof g_versionInfo || !read(dll, 0, bytes, g_versionInfo)) return 0;
    VS_FIXEDFILEINFO* fixed = 0;
    unsigned int length = 0;
    if (!query(g_versionInfo, L"\\", (void**)&fixed, &length) || !fixed || length < sizeof *fixed) return 0;
    *ms = fixed->dwFileVersionMS;
    *ls = fixed->dwFileVersionLS;
    return 1;
}

typedef struct Utterance {
    const char* result;       /* the engine's result, UTF-8 JSON */
    const char* text;         /* what VeScene_GetText must return */
    const char* expected[3];  /* starts of calls that must be among those made */
} Utterance;

static const Utterance kUtterances[] = {
    {"{\"text\":\"搜索周杰伦\",\"rc\":0,\"service\":\"websearch\",\"semantic\":{\"slots\":"
     "[{\"name\":\"keyword\",\"value\":\"周杰伦\"}]}}",
     "搜索周杰伦",
     {"shell_execute(https://www.baidu.com/s?wd=%E5%91%A8%E6%9D%B0%E4%BC%A6", "log(搜索周杰伦, 11", 0}},
    {"{\"text\":\"打开记事本\",\"rc\":0,\"service\":\"application\",\"semantic\":{\"slots\":"
     "[{\"name\":\"application\",\"value\":\"记事本\"}]}}",
     "打开记事本",
     {"open_program(记事本)", "log(打开记事本, 30", 0}},
};

void __cdecl HostMain(void) {
    Out("VeScene "), Out(VeScene_Version()), Out(" (header " VESCENE_VERSION_STRING ")\n");
    Check(Same(VeScene_Version(), VESCENE_VERSION_STRING), "VeScene_Version() == VESCENE_VERSION_STRING");

    static wchar_t dll[1024];
    static char data[4096];
    DWORD ms = 0, ls = 0;
    Check(DllDirectory(dll, sizeof dll / sizeof dll[0], data, sizeof data, "data"), "the path of VeScene.dll");
    Check(ResourceVersion(dll, &ms, &ls), "the version resource of VeScene.dll");
    Check(ms == ((DWORD)VESCENE_VERSION_MAJOR << 16 | VESCENE_VERSION_MINOR) && ls == ((DWORD)VESCENE_VERSION_PATCH << 16),
          "FILEVERSION " VESCENE_VERSION_STRING " in the version resource");
    Check(VeScene_SetDataDirectory(data) == 1, "VeScene_SetDataDirectory");

    VeHostCallbacks callbacks = {0};
    callbacks.size = sizeof callbacks;
    callbacks.tray = OnTray;
    callbacks.interactive_set = OnInteractiveSet;
    callbacks.log = OnLog;
    callbacks.yes_or_no = OnYesOrNo;
    callbacks.shell_execute = OnShellExecute;
    callbacks.open_website = OnOpenWebsite;
    callbacks.open_program = OnOpenProgram;
    callbacks.open_user_self = OnOpenUserSelf;
    callbacks.confidence_level = OnConfidenceLevel;
    callbacks.web_search = OnWebSearch;
    callbacks.check_net = OnCheckNet;
    VeScene_SetHostCallbacks(&callbacks);

    VeSceneHandle* scene = VeScene_Create();
    Check(scene != 0, "VeScene_Create");
    for (unsigned i = 0; scene && i < sizeof kUtterances / sizeof kUtterances[0]; ++i) {
        const Utterance* u = &kUtterances[i];
        g_length = 0;
        g_calls[0] = '\0';
        int result = VeScene_ProcessM(scene, u->result, 1, 0);
        Out(u->text), Out(": -> "), Out(result == VESCENE_DONE ? "done" : "NOT DONE"), Out(", scene \""),
            Out(VeScene_GetScene(scene)), Out("\"\n");
        Check(result == VESCENE_DONE, "VeScene_ProcessM(...) == VESCENE_DONE");
        Check(Same(VeScene_GetText(scene), u->text), "VeScene_GetText() == the utterance");
        for (const char* const* want = u->expected; *want; ++want) Check(Seen(*want), *want);
    }
    VeScene_Destroy(scene);
    VeScene_SetHostCallbacks(0);
    VeScene_Release();

    Out(g_failures ? "FAILED\n" : "ok\n");
    ExitProcess(g_failures ? 1 : 0);
}
