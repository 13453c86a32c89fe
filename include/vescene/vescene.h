/* VeScene C API: usable from C and from any compiler or language that can load the DLL.
   Every text is UTF-8 and NUL-terminated. No function throws. Every function and callback is
   __cdecl on Windows (VESCENE_CALL). */
#ifndef VESCENE_VESCENE_H
#define VESCENE_VESCENE_H

#include <stddef.h>

#include "vescene/Export.h"
#include "vescene/version.h"

/* The calling convention of every function and callback pointer of this API: __cdecl on
   Windows, whatever the host's default (a host compiled with /Gz, /Gr or /Gv still calls the
   functions and is called back right). Declare the callbacks you install with it too:
       static void VESCENE_CALL on_tray(void* user, const char* text, int param) { ... } */
#if defined(_WIN32)
#define VESCENE_CALL __cdecl
#else
#define VESCENE_CALL
#endif

/* No function of this API throws; C++ callers see that in the declarations. */
#ifdef __cplusplus
#define VESCENE_NOEXCEPT noexcept
extern "C" {
#else
#define VESCENE_NOEXCEPT
#endif

typedef struct VeSceneHandle VeSceneHandle;

/* Results of the entries. */
enum { VESCENE_FAILED = 0, VESCENE_DONE = 1, VESCENE_UNHANDLED = 2, VESCENE_BAD_ARGUMENT = -1 };

/* Which log call a log line came from. */
enum { VESCENE_LOG = 0, VESCENE_LOG_2 = 1, VESCENE_LOG_NOLT = 2, VESCENE_LOG_DEBUG = 3 };

/* The embedding host's services. Set `size` to sizeof(VeHostCallbacks): a host built against
   an older, shorter table keeps working, the members it does not have count as NULL. Any member
   may be NULL, and then the library does without it:
   - UI output (tray, log, main window pages) is dropped;
   - the yes/no question becomes a message box on Windows and "no" elsewhere;
   - the host's tables (web sites, programs, user files and commands, uninstallers) answer "not
     found", the confidence level is -1 (none);
   - shell_execute and web_search open the target or the search page with the system's browser;
   - the environment services answer as the platform can: -1 (not changed) for volume and
     brightness, the network counts as up, the Windows version as current.
   Texts passed in are UTF-8 and valid only during the call. Callbacks may be called from the
   library's worker thread (the online request) as well as from the thread that called an entry. */
typedef struct VeHostCallbacks {
    size_t size;
    void* user;
    /* UI output */
    void (VESCENE_CALL *tray)(void* user, const char* text, int param);
    void (VESCENE_CALL *tray_question)(void* user, const char* text);
    void (VESCENE_CALL *interactive_set)(void* user, const char* text /* may be NULL */, int param);
    void (VESCENE_CALL *log)(void* user, const char* text, int logType, int channel);
    void (VESCENE_CALL *log_icon)(void* user, const char* text, void* icon);
    void (VESCENE_CALL *main_menu)(void* user, int page);
    int (VESCENE_CALL *yes_or_no)(void* user, const char* question);
    void (VESCENE_CALL *shell_execute)(void* user, const char* target);
    /* the data factory: nonzero when the host acted; it may set *logType and *icon */
    int (VESCENE_CALL *open_website)(void* user, const char* name, int* logType);
    int (VESCENE_CALL *open_website_grm)(void* user, const char* name, int* logType);
    int (VESCENE_CALL *open_program)(void* user, const char* name, int* logType, void** icon);
    int (VESCENE_CALL *open_user_files)(void* user, const char* name, int* logType, void** icon);
    int (VESCENE_CALL *uninstall_program)(void* user, const char* name, int* logType);
    void (VESCENE_CALL *set_normal)(void* user, int normal);
    int (VESCENE_CALL *confidence_level)(void* user, const char* text);
    /* the account binding, the host's own commands, AI chat, office, location */
    int (VESCENE_CALL *open_user_self)(void* user, const char* name, int* logType, void** icon);
    int (VESCENE_CALL *open_command)(void* user, const char* command);
    void (VESCENE_CALL *open_ai)(void* user, const char* text);
    int (VESCENE_CALL *word_template)(void* user, const char* name);
    const char* (VESCENE_CALL *city)(void* user); /* valid until the next call; NULL or "" when unknown */
    void (VESCENE_CALL *web_search)(void* user, const char* text);
    /* environment. set_volume: (1, 1) mutes, (0, 1) unmutes, (200, 0) one step up, (-200, 0) one
       step down, (n, 0) level n; it and set_brightness return the level now set (0 to 100) or -1 */
    int (VESCENE_CALL *set_volume)(void* user, int level, int muteSwitch);
    int (VESCENE_CALL *set_brightness)(void* user, int level);
    int (VESCENE_CALL *check_net)(void* user);  /* nonzero when the network is up */
    int (VESCENE_CALL *os_version)(void* user); /* 0 for the old generation, anything else for current */
    void (VESCENE_CALL *elevate_permission)(void* user);
    /* the display's brightness now, on set_brightness's scale, or -1 when it cannot be read;
       when it is NULL but set_brightness is not, the level counts as unreadable */
    int (VESCENE_CALL *get_brightness)(void* user);
} VeHostCallbacks;

/* The version of the library actually loaded, "major.minor.patch"; VESCENE_VERSION_STRING and
   VESCENE_VERSION_MAJOR/MINOR/PATCH (vescene/version.h) are the version of this header.
   The text is static: never freed, never changed. */
VESCENE_API const char* VESCENE_CALL VeScene_Version(void) VESCENE_NOEXCEPT;

VESCENE_API VeSceneHandle* VESCENE_CALL VeScene_Create(void) VESCENE_NOEXCEPT;
VESCENE_API void VESCENE_CALL VeScene_Destroy(VeSceneHandle* scene) VESCENE_NOEXCEPT;

/* The voice key's entry: `api` 1 is the cloud semantic engine; any other value lets the
   result decide. Returns 0, 1 or 2, or -1 for a NULL argument. */
VESCENE_API int VESCENE_CALL VeScene_ProcessM(VeSceneHandle* scene, const char* result, int api, int searchFallback) VESCENE_NOEXCEPT;

/* The laser pointer's entries (normal and slide-show control), the AI mode, and the office
   voice mode (kind 1 Word, 2 PowerPoint, 3 Excel). Same results as VeScene_ProcessM. */
VESCENE_API int VESCENE_CALL VeScene_ProcessP_normal(VeSceneHandle* scene, const char* result) VESCENE_NOEXCEPT;
VESCENE_API int VESCENE_CALL VeScene_ProcessP_PPT(VeSceneHandle* scene, const char* result) VESCENE_NOEXCEPT;
VESCENE_API int VESCENE_CALL VeScene_ProcessAI(VeSceneHandle* scene, const char* result) VESCENE_NOEXCEPT;
VESCENE_API int VESCENE_CALL VeScene_ProcessM_office_xiao(VeSceneHandle* scene, const char* result, int kind) VESCENE_NOEXCEPT;

/* Valid until the next call on the same handle. */
VESCENE_API const char* VESCENE_CALL VeScene_GetScene(VeSceneHandle* scene) VESCENE_NOEXCEPT;
VESCENE_API const char* VESCENE_CALL VeScene_GetText(VeSceneHandle* scene) VESCENE_NOEXCEPT;

/* Ends a running online request; call before unloading the library. */
VESCENE_API void VESCENE_CALL VeScene_Release(void) VESCENE_NOEXCEPT;

/* Copies the table (see VeHostCallbacks::size); NULL removes the host's callbacks. */
VESCENE_API void VESCENE_CALL VeScene_SetHostCallbacks(const VeHostCallbacks* callbacks) VESCENE_NOEXCEPT;

/* Where the data files are read from; NULL or "" is the working directory. Returns 1. */
VESCENE_API int VESCENE_CALL VeScene_SetDataDirectory(const char* directory) VESCENE_NOEXCEPT;

/* Base URL of a named service endpoint: "online" (the online semantic service) or "songsearch"
   (the song search); other names are kept for the host's own use. The URL must be http or
   https; NULL or "" restores the default. Returns 1, 0 when the URL is refused, or -1 for a
   NULL or empty name. */
VESCENE_API int VESCENE_CALL VeScene_SetEndpoint(const char* name, const char* url) VESCENE_NOEXCEPT;

/* Timeouts of every HTTP request, in milliseconds: connecting, and the whole request. A value
   <= 0 restores its default (3000 and 5000). */
VESCENE_API void VESCENE_CALL VeScene_SetHttpTimeouts(int connectMs, int totalMs) VESCENE_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
