/* A plain C host of VeScene, written from vescene.h alone: installs its services as callbacks,
   runs a few utterances and checks which services the library called, and that every value a
   callback received is one vescene.h names (an undocumented value fails the run); then checks
   the host's contract: each handle's own result, the last error, the setters' status, the
   diagnostic callback, and no online request without an endpoint or while offline. On Windows
   it loads VeScene.dll at run time, as a host that ships the DLL beside itself would, unless
   built with VESCENE_LINKED against the import library (VeScene.lib); elsewhere it links the
   shared library. Exits 0 when every check held. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vescene/vescene.h"

#if defined(_WIN32) && !defined(VESCENE_LINKED)
#define VESCENE_LOAD_AT_RUN_TIME 1
#include <windows.h>
#endif

/* The entries the host uses, however they were bound. Every pointer carries the API's calling
   convention (VESCENE_CALL, __cdecl on Windows), like every callback below, so the host may be
   compiled with any default convention. */
typedef struct Api {
    const char* (VESCENE_CALL *Version)(void);
    VeSceneHandle* (VESCENE_CALL *Create)(void);
    void (VESCENE_CALL *Destroy)(VeSceneHandle*);
    int (VESCENE_CALL *ProcessM)(VeSceneHandle*, const char*, int, int);
    int (VESCENE_CALL *ProcessP_normal)(VeSceneHandle*, const char*);
    int (VESCENE_CALL *ProcessM_office_xiao)(VeSceneHandle*, const char*, int);
    const char* (VESCENE_CALL *GetScene)(VeSceneHandle*);
    const char* (VESCENE_CALL *GetText)(VeSceneHandle*);
    const char* (VESCENE_CALL *GetLastError)(void);
    void (VESCENE_CALL *Release)(void);
    int (VESCENE_CALL *SetHostCallbacks)(const VeHostCallbacks*);
    int (VESCENE_CALL *SetDataDirectory)(const char*);
    int (VESCENE_CALL *SetEndpoint)(const char*, const char*);
} Api;

#ifdef VESCENE_LOAD_AT_RUN_TIME
static HMODULE g_dll;

/* Converting a FARPROC to a typed pointer goes through memcpy: C has no direct conversion. */
static int Bind(void* slot, const char* name) {
    FARPROC proc = GetProcAddress(g_dll, name);
    if (!proc) {
        fprintf(stderr, "VeScene.dll has no export %s\n", name);
        return 0;
    }
    memcpy(slot, &proc, sizeof proc);
    return 1;
}

static int LoadApi(Api* api) {
    g_dll = LoadLibraryW(L"VeScene.dll");
    if (!g_dll) {
        fprintf(stderr, "cannot load VeScene.dll (error %lu)\n", (unsigned long)GetLastError());
        return 0;
    }
    return Bind(&api->Version, "VeScene_Version") && Bind(&api->Create, "VeScene_Create") && Bind(&api->Destroy, "VeScene_Destroy") &&
           Bind(&api->ProcessM, "VeScene_ProcessM") && Bind(&api->ProcessP_normal, "VeScene_ProcessP_normal") && Bind(&api->GetScene, "VeScene_GetScene") &&
           Bind(&api->GetText, "VeScene_GetText") && Bind(&api->Release, "VeScene_Release") &&
           Bind(&api->SetHostCallbacks, "VeScene_SetHostCallbacks") &&
           Bind(&api->SetDataDirectory, "VeScene_SetDataDirectory") &&
           Bind(&api->ProcessM_office_xiao, "VeScene_ProcessM_office_xiao") &&
           Bind(&api->GetLastError, "VeScene_GetLastError") && Bind(&api->SetEndpoint, "VeScene_SetEndpoint");
}

static void UnloadApi(void) { FreeLibrary(g_dll); }
#else
static int LoadApi(Api* api) {
    api->Version = VeScene_Version;
    api->Create = VeScene_Create;
    api->Destroy = VeScene_Destroy;
    api->ProcessM = VeScene_ProcessM;
    api->ProcessP_normal = VeScene_ProcessP_normal;
    api->GetScene = VeScene_GetScene;
    api->GetText = VeScene_GetText;
    api->Release = VeScene_Release;
    api->SetHostCallbacks = VeScene_SetHostCallbacks;
    api->SetDataDirectory = VeScene_SetDataDirectory;
    api->ProcessM_office_xiao = VeScene_ProcessM_office_xiao;
    api->GetLastError = VeScene_GetLastError;
    api->SetEndpoint = VeScene_SetEndpoint;
    return 1;
}

static void UnloadApi(void) {}
#endif

/* Every call the library made, one line each, in a growing buffer. */
typedef struct Calls {
    char* text;
    size_t length;
    size_t capacity;
} Calls;

static void Note(void* user, const char* format, ...) {
    Calls* calls = (Calls*)user;
    char line[1024];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n < 0) return;
    size_t add = strlen(line); /* a longer line is kept cut: the check reads only its start */
    if (calls->length + add + 2 > calls->capacity) {
        size_t capacity = (calls->capacity + add + 2) * 2;
        char* grown = (char*)realloc(calls->text, capacity);
        if (!grown) return;
        calls->text = grown;
        calls->capacity = capacity;
    }
    memcpy(calls->text + calls->length, line, add);
    calls->length += add;
    calls->text[calls->length++] = '\n';
    calls->text[calls->length] = '\0';
    printf("  host: %s\n", line);
}

/* Every value a callback receives must be one vescene.h names. */
static int g_undocumented = 0;

static void Documented(void* user, int held, const char* what, int value) {
    if (held) return;
    Note(user, "UNDOCUMENTED %s %d", what, value);
    ++g_undocumented;
}

static int IsLogType(int t) {
    static const int kTypes[] = {VESCENE_LOGTYPE_PEN_RESULT, VESCENE_LOGTYPE_FAILURE, VESCENE_LOGTYPE_BASE,
        VESCENE_LOGTYPE_WEATHER, VESCENE_LOGTYPE_WEB_SEARCH, VESCENE_LOGTYPE_TRAIN, VESCENE_LOGTYPE_FLIGHT,
        VESCENE_LOGTYPE_VIDEO, VESCENE_LOGTYPE_MUSIC, VESCENE_LOGTYPE_POETRY, VESCENE_LOGTYPE_ANSWER, VESCENE_LOGTYPE_MAP,
        VESCENE_LOGTYPE_SHOPPING, VESCENE_LOGTYPE_JOKE, VESCENE_LOGTYPE_HOTEL, VESCENE_LOGTYPE_LOCAL_LIFE,
        VESCENE_LOGTYPE_WEBSITE, VESCENE_LOGTYPE_RECIPE, VESCENE_LOGTYPE_PARCEL, VESCENE_LOGTYPE_STOCK, VESCENE_LOGTYPE_NEWS,
        VESCENE_LOGTYPE_NOT_CARRIED_OUT, VESCENE_LOGTYPE_TRANSLATION, VESCENE_LOGTYPE_APPLICATION,
        VESCENE_LOGTYPE_MAIN_MENU_WORD, VESCENE_LOGTYPE_SLIDE_SHOW, VESCENE_LOGTYPE_WORD, VESCENE_LOGTYPE_EXCEL,
        VESCENE_LOGTYPE_OFFICE_TEMPLATE, VESCENE_LOGTYPE_SCREENSHOT, VESCENE_LOGTYPE_AI};
    size_t i;
    for (i = 0; i < sizeof kTypes / sizeof kTypes[0]; ++i)
        if (kTypes[i] == t) return 1;
    return 0;
}

static int IsPage(int page) {
    return page == VESCENE_PAGE_LOG || page == VESCENE_PAGE_SCREENSHOT || page == VESCENE_PAGE_RECORD_TO_TEXT ||
           page == VESCENE_PAGE_USER_COMMANDS || page == VESCENE_PAGE_HOT_WORDS;
}

static int IsOnlineStatus(int status) {
    return status == VESCENE_ONLINE_DONE || status == VESCENE_ONLINE_NOT_DONE || status == VESCENE_ONLINE_ABANDONED ||
           status == VESCENE_ONLINE_BAD_URL || status == VESCENE_ONLINE_NO_CONNECTION || status == VESCENE_ONLINE_TIMEOUT ||
           status == VESCENE_ONLINE_HTTP_STATUS || status == VESCENE_ONLINE_TOO_LARGE || status == VESCENE_ONLINE_BAD_REPLY;
}

static void VESCENE_CALL OnTray(void* user, const char* text, int param) {
    Note(user, "tray(%s, %d)", text, param);
    Documented(user, param == VESCENE_TRAY_SHOW, "tray param", param);
}
static void VESCENE_CALL OnTrayQuestion(void* user, const char* text) { Note(user, "tray_question(%s)", text); }
static void VESCENE_CALL OnInteractiveSet(void* user, const char* text, int param) {
    Note(user, "interactive_set(%s, %d)", text ? text : "NULL", param);
    Documented(user, text ? param == VESCENE_INTERACTIVE_ANSWER : param == VESCENE_INTERACTIVE_CLEAR,
               text ? "interactive_set param with a text" : "interactive_set param with NULL", param);
}
static void VESCENE_CALL OnLog(void* user, const char* text, int logType, int channel) {
    Note(user, "log(%s, %d, %d)", text, logType, channel);
    Documented(user, IsLogType(logType), "log type", logType);
    Documented(user, channel >= VESCENE_LOG && channel <= VESCENE_LOG_DEBUG, "log channel", channel);
}
static void VESCENE_CALL OnLogIcon(void* user, const char* text, void* icon) { Note(user, "log_icon(%s, %p)", text, icon); }
static void VESCENE_CALL OnMainMenu(void* user, int page) {
    Note(user, "main_menu(%d)", page);
    Documented(user, IsPage(page), "main_menu page", page);
}
static void VESCENE_CALL OnSetNormal(void* user, int normal) {
    Documented(user, normal == 1, "set_normal value", normal);
}
static int VESCENE_CALL OnYesOrNo(void* user, const char* question) {
    Note(user, "yes_or_no(%s)", question);
    return 0;
}
static void VESCENE_CALL OnShellExecute(void* user, const char* target) { Note(user, "shell_execute(%s)", target); }
static int VESCENE_CALL OnOpenWebsite(void* user, const char* name, int* logType) {
    (void)logType;
    Note(user, "open_website(%s)", name);
    return 0;
}
static int VESCENE_CALL OnOpenProgram(void* user, const char* name, int* logType, void** icon) {
    (void)logType;
    (void)icon;
    Note(user, "open_program(%s)", name);
    return strcmp(name, "记事本") == 0; /* the one program this host has */
}
static int VESCENE_CALL OnConfidenceLevel(void* user, const char* text) {
    (void)user;
    (void)text;
    return -1;
}
static int VESCENE_CALL OnOpenUserSelf(void* user, const char* name, int* logType, void** icon) {
    (void)logType;
    (void)icon;
    Note(user, "open_user_self(%s)", name);
    return 0;
}
static void VESCENE_CALL OnWebSearch(void* user, const char* text) { Note(user, "web_search(%s)", text); }
static int VESCENE_CALL OnSetVolume(void* user, int level, int muteSwitch) {
    Note(user, "set_volume(%d, %d)", level, muteSwitch);
    Documented(user, muteSwitch ? (muteSwitch == 1 && (level == 0 || level == 1))
                                : (level == VESCENE_VOLUME_STEP_UP || level == VESCENE_VOLUME_STEP_DOWN || (level >= 0 && level <= 100)),
               "set_volume level", level);
    return muteSwitch ? 0 : (level >= 0 && level <= 100 ? level : 50);
}
static int g_online = 0; /* what check_net answers */
static int VESCENE_CALL OnCheckNet(void* user) {
    (void)user;
    return g_online;
}
static void VESCENE_CALL OnDiagnostic(void* user, int level, const char* message) {
    Note(user, "diagnostic(%d, %s)", level, message);
    Documented(user, level == VESCENE_DIAG_INFO || level == VESCENE_DIAG_WARNING || level == VESCENE_DIAG_ERROR,
               "diagnostic level", level);
}
static void VESCENE_CALL OnOnlineResult(void* user, const char* text, const char* scene, int status) {
    Note(user, "online_result(%s, %s, %d)", text, scene, status);
    Documented(user, IsOnlineStatus(status), "online_result status", status);
}

typedef struct Utterance {
    int pen;                 /* the laser pointer's entry rather than the voice key's */
    const char* result;      /* the engine's result, UTF-8 JSON */
    const char* expected[4]; /* starts of calls that must be among those made, NULL-terminated */
} Utterance;

static const Utterance kUtterances[] = {
    {0, "{\"text\":\"搜索周杰伦\",\"rc\":0,\"service\":\"websearch\",\"semantic\":{\"slots\":"
     "[{\"name\":\"keyword\",\"value\":\"周杰伦\"}]}}",
     {"shell_execute(https://www.baidu.com/s?wd=%E5%91%A8%E6%9D%B0%E4%BC%A6", "log(搜索周杰伦, 11", NULL}},
    {0, "{\"text\":\"打开记事本\",\"rc\":0,\"service\":\"application\",\"semantic\":{\"slots\":"
     "[{\"name\":\"application\",\"value\":\"记事本\"}]}}",
     {"open_program(记事本)", "log(打开记事本, 30", NULL}},
    /* the pointer's grammar result: the words only, with their score */
    {1, "{\"text\":\"\",\"sc\":\"80\",\"ws\":[{\"cw\":[{\"w\":\"音量调到30\"}]}]}", {"set_volume(30, 0)", "tray(音量：30, 1)", NULL}},
    /* a main-window word, a local command (scene "rc=4"), an answer, a failure marker */
    {0, "{\"text\":\"打开主窗口\",\"rc\":4}", {"main_menu(14)", NULL}},
    {0, "{\"text\":\"音量调高\",\"rc\":4}", {"set_volume(200, 0)", NULL}},
    {0, "{\"text\":\"讲个笑话\",\"rc\":0,\"service\":\"joke\",\"semantic\":[{\"intent\":\"RANDOM_QUERY\",\"slots\":[]}],"
        "\"data\":{\"result\":[{\"category\":\"生活\",\"content\":\"朋友问我借钱。\"}]}}",
     {"interactive_set(NULL, 3)", "interactive_set(生活：  朋友问我借钱。, 2)", NULL}},
    {0, "{\"text\":\"\",\"sc\":\"80\",\"ws\":[]}", {"tray(__识别出错__, 1)", "log(__识别出错__, 6", NULL}},
};

static int g_failures = 0;

static void Check(int held, const char* what) {
    if (held) return;
    printf("  FAILED: %s\n", what);
    ++g_failures;
}

static int Same(const char* a, const char* b) { return a && b && strcmp(a, b) == 0; }

static void Forget(Calls* calls) {
    calls->length = 0;
    if (calls->text) calls->text[0] = '\0';
}

static int Saw(const Calls* calls, const char* start) {
    for (const char* line = calls->text; line && *line; line = strchr(line, '\n') + 1)
        if (strncmp(line, start, strlen(start)) == 0) return 1;
    return 0;
}

/* The host's contract, through the C API only. */
static void CheckContract(const Api* api, Calls* calls, VeSceneHandle* scene) {
    static const char* const kSearch = "{\"text\":\"搜索周杰伦\",\"rc\":0,\"service\":\"websearch\",\"semantic\":{\"slots\":"
                                       "[{\"name\":\"keyword\",\"value\":\"周杰伦\"}]}}";
    static const char* const kVolume = "{\"text\":\"\",\"sc\":\"80\",\"ws\":[{\"cw\":[{\"w\":\"音量调到30\"}]}]}";
    static const char* const kUnhandled = "{\"text\":\"讲个故事\",\"rc\":4}";
    VeSceneHandle* other = api->Create();
    VeHostCallbacks none;
    puts("contract:");
    if (!other) {
        Check(0, "a second handle");
        return;
    }
    /* Each handle reports its own last call; a failed call leaves nothing but an error. */
    Check(api->ProcessM(scene, kSearch, 1, 0) == VESCENE_DONE, "the web search is done");
    Check(api->ProcessP_normal(other, kVolume) == VESCENE_DONE, "the volume command is done");
    Check(Same(api->GetText(scene), "搜索周杰伦") && Same(api->GetScene(scene), "websearch"), "the first handle keeps its text");
    Check(Same(api->GetText(other), "音量调到30"), "the second handle has its own text");
    Check(Same(api->GetLastError(), ""), "no error after calls that went well");
    Check(api->ProcessM(other, "{\"text\":", 0, 0) == VESCENE_FAILED, "invalid JSON fails");
    Check(Same(api->GetLastError(), "the recognition result is not a JSON object"), "invalid JSON is named");
    Check(Same(api->GetText(other), "") && Same(api->GetScene(other), ""), "a failed call leaves no text");
    Check(Same(api->GetText(scene), "搜索周杰伦"), "the other handle is untouched");
    Check(api->ProcessM(other, "{\"text\":\"\xB4\xF2\xBF\xAA\"}", 0, 0) == VESCENE_FAILED, "GBK input fails");
    Check(Same(api->GetLastError(), "the recognition result is not valid UTF-8"), "GBK input is named");

    /* Out-of-range arguments and settings that cannot hold are refused with a status. */
    Check(api->ProcessM_office_xiao(scene, "{}", 9) == VESCENE_BAD_ARGUMENT, "office kind 9 is refused");
    Check(api->SetDataDirectory("/nonexistent") == 0 && api->GetLastError()[0], "a missing data directory is refused");
    memset(&none, 0, sizeof none);
    Check(api->SetHostCallbacks(&none) == VESCENE_BAD_ARGUMENT && api->GetLastError()[0], "size 0 is refused");
    Check(api->SetEndpoint("online", "ftp://example.cn/") == 0, "an ftp endpoint is refused");

    /* The library's warnings reach the host: a result that is no web address. */
    Forget(calls);
    api->ProcessM(scene, "{\"text\":\"打开网页\",\"fromType\":\"tpp\",\"actionType\":\"URL\",\"content\":\"file:///C:/x.ini\"}", 0, 0);
    Check(Saw(calls, "diagnostic(1, refused to open a result that is no web address: file:///C:/x.ini)"), "the warning is heard");

    /* No endpoint, or an endpoint while offline: nothing goes online and the host hears of no request. */
    Check(api->SetEndpoint("online", "") == 1, "no online endpoint");
    Forget(calls);
    g_online = 1;
    Check(api->ProcessM(scene, kUnhandled, 0, 1) == VESCENE_UNHANDLED, "unhandled without an endpoint");
    Check(api->SetEndpoint("online", "http://127.0.0.1:9") == 1, "an endpoint");
    g_online = 0;
    Check(api->ProcessM(scene, kUnhandled, 0, 1) == VESCENE_UNHANDLED, "unhandled while offline");
    api->Release();
    Check(!Saw(calls, "online_result("), "no online request was made");
    api->SetEndpoint("online", "");
    api->Destroy(other);
}

int main(int argc, char** argv) {
    Api api;
    if (!LoadApi(&api)) return 2;
    /* The library loaded must be the version this host was compiled against. */
    printf("VeScene %s (header %s)\n", api.Version(), VESCENE_VERSION_STRING);
    if (strcmp(api.Version(), VESCENE_VERSION_STRING) != 0) {
        printf("FAILED: library version %s, header %s\n", api.Version(), VESCENE_VERSION_STRING);
        UnloadApi();
        return 1;
    }
    if (argc > 1) api.SetDataDirectory(argv[1]);

    Calls calls = {NULL, 0, 0};
    VeHostCallbacks callbacks;
    memset(&callbacks, 0, sizeof callbacks);
    callbacks.size = sizeof callbacks;
    callbacks.user = &calls;
    callbacks.tray = OnTray;
    callbacks.tray_question = OnTrayQuestion;
    callbacks.interactive_set = OnInteractiveSet;
    callbacks.log = OnLog;
    callbacks.log_icon = OnLogIcon;
    callbacks.main_menu = OnMainMenu;
    callbacks.yes_or_no = OnYesOrNo;
    callbacks.shell_execute = OnShellExecute;
    callbacks.open_website = OnOpenWebsite;
    callbacks.open_program = OnOpenProgram;
    callbacks.set_normal = OnSetNormal;
    callbacks.confidence_level = OnConfidenceLevel;
    callbacks.open_user_self = OnOpenUserSelf;
    callbacks.web_search = OnWebSearch;
    callbacks.set_volume = OnSetVolume;
    callbacks.check_net = OnCheckNet;
    callbacks.diagnostic = OnDiagnostic;
    callbacks.online_result = OnOnlineResult;
    if (api.SetHostCallbacks(&callbacks) != 1) return 2;

    VeSceneHandle* scene = api.Create();
    if (!scene) return 2;
    int failures = 0;
    for (size_t i = 0; i < sizeof kUtterances / sizeof kUtterances[0]; ++i) {
        const Utterance* u = &kUtterances[i];
        calls.length = 0;
        if (calls.text) calls.text[0] = '\0';
        int result = u->pen ? api.ProcessP_normal(scene, u->result) : api.ProcessM(scene, u->result, 1, 0);
        printf("%s\n  -> %d, scene \"%s\", text \"%s\"\n", u->result, result, api.GetScene(scene),
               api.GetText(scene));
        for (const char* const* want = u->expected; *want; ++want) {
            int seen = 0;
            for (const char* line = calls.text; line && *line; line = strchr(line, '\n') + 1)
                if (strncmp(line, *want, strlen(*want)) == 0) seen = 1;
            if (!seen) {
                printf("  MISSING: %s\n", *want);
                ++failures;
            }
        }
    }

    CheckContract(&api, &calls, scene);
    failures += g_failures + g_undocumented;

    api.Destroy(scene);
    api.SetHostCallbacks(NULL);
    api.Release();
    UnloadApi();
    free(calls.text);
    printf("%s\n", failures ? "FAILED" : "ok");
    return failures ? 1 : 0;
}
