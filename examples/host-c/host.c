/* A plain C host of VeScene: installs its services as callbacks, runs a few utterances and
   checks which services the library called. On Windows it loads VeScene.dll at run time, as
   a host that ships the DLL beside itself would; elsewhere it links the shared library.
   Exits 0 when every utterance made the expected calls. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vescene/vescene.h"

#ifdef _WIN32
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
    const char* (VESCENE_CALL *GetScene)(VeSceneHandle*);
    const char* (VESCENE_CALL *GetText)(VeSceneHandle*);
    void (VESCENE_CALL *Release)(void);
    void (VESCENE_CALL *SetHostCallbacks)(const VeHostCallbacks*);
    int (VESCENE_CALL *SetDataDirectory)(const char*);
} Api;

#ifdef _WIN32
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
           Bind(&api->SetDataDirectory, "VeScene_SetDataDirectory");
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

static void VESCENE_CALL OnTray(void* user, const char* text, int param) { Note(user, "tray(%s, %d)", text, param); }
static void VESCENE_CALL OnTrayQuestion(void* user, const char* text) { Note(user, "tray_question(%s)", text); }
static void VESCENE_CALL OnInteractiveSet(void* user, const char* text, int param) {
    Note(user, "interactive_set(%s, %d)", text ? text : "NULL", param);
}
static void VESCENE_CALL OnLog(void* user, const char* text, int logType, int channel) {
    Note(user, "log(%s, %d, %d)", text, logType, channel);
}
static void VESCENE_CALL OnLogIcon(void* user, const char* text, void* icon) { Note(user, "log_icon(%s, %p)", text, icon); }
static void VESCENE_CALL OnMainMenu(void* user, int page) { Note(user, "main_menu(%d)", page); }
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
    return muteSwitch ? 0 : (level >= 0 && level <= 100 ? level : 50);
}
static int VESCENE_CALL OnCheckNet(void* user) {
    (void)user;
    return 0; /* offline: no utterance here may wait for the online service */
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
};

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
    callbacks.confidence_level = OnConfidenceLevel;
    callbacks.open_user_self = OnOpenUserSelf;
    callbacks.web_search = OnWebSearch;
    callbacks.set_volume = OnSetVolume;
    callbacks.check_net = OnCheckNet;
    api.SetHostCallbacks(&callbacks);

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

    api.Destroy(scene);
    api.SetHostCallbacks(NULL);
    api.Release();
    UnloadApi();
    free(calls.text);
    printf("%s\n", failures ? "FAILED" : "ok");
    return failures ? 1 : 0;
}
