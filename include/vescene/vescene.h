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

/* Results of the entries (VeScene_ProcessM ...), and the status of the setters. */
enum {
    VESCENE_FAILED = 0,        /* nothing carried out: invalid input, a poor score, no command matched */
    VESCENE_DONE = 1,          /* carried out */
    VESCENE_UNHANDLED = 2,     /* understood by nothing local; it may have gone online (see online_result) */
    VESCENE_BAD_ARGUMENT = -1  /* a NULL handle or text, or a number out of its range; nothing happened */
};

/* The entries, as the log and the command line name them:
   ProcessM (the mouse's voice key), ProcessP_normal and ProcessP_PPT (the laser pointer in normal and
   in slide-show control), ProcessAI (the AI mode), ProcessM_office_xiao (the office voice mode). */

/* The scene name VeScene_GetScene reports after an entry: the semantic result's "service" (or its
   "semantic^intent" for the life and shopping services), the TPP result's "actionType", the pointer's
   "semantic^intent", or one of these:
     "rc=4"          the engine understood nothing (rc 4 or no service) and no local rule rewrote it;
                     a result of VESCENE_UNHANDLED may have gone online
     "offasr"        the voice key's offline grammar result;   "offasr_p"  the pointer's
     "userself"      the host's own command or a main-window word took the text
     "ai"            the AI mode
     "office_word", "office_ppt", "office_excel"  the office voice mode's command was sent;
     "office_no"     it matched no command
   "" after a call that failed. */

/* Which log call a log line came from (the `channel` of the log callback). */
enum { VESCENE_LOG = 0, VESCENE_LOG_2 = 1, VESCENE_LOG_NOLT = 2, VESCENE_LOG_DEBUG = 3 };

/* The kind and icon of a log line (the `logType` of the log callback and of the data factory's
   callbacks): the values the host receives. */
enum {
    VESCENE_LOGTYPE_PEN_RESULT = 0,   /* the pointer's recognition-result lines */
    VESCENE_LOGTYPE_FAILURE = 6,
    VESCENE_LOGTYPE_BASE = 9,         /* a scene that set no kind of its own */
    VESCENE_LOGTYPE_WEATHER = 10,
    VESCENE_LOGTYPE_WEB_SEARCH = 11,
    VESCENE_LOGTYPE_TRAIN = 12,
    VESCENE_LOGTYPE_FLIGHT = 13,
    VESCENE_LOGTYPE_VIDEO = 14,
    VESCENE_LOGTYPE_MUSIC = 15,
    VESCENE_LOGTYPE_POETRY = 16,
    VESCENE_LOGTYPE_ANSWER = 17,      /* answers and chat */
    VESCENE_LOGTYPE_MAP = 18,
    VESCENE_LOGTYPE_SHOPPING = 19,
    VESCENE_LOGTYPE_JOKE = 20,
    VESCENE_LOGTYPE_HOTEL = 21,       /* hotels and restaurants */
    VESCENE_LOGTYPE_LOCAL_LIFE = 22,
    VESCENE_LOGTYPE_WEBSITE = 23,     /* web sites and hot topics */
    VESCENE_LOGTYPE_RECIPE = 24,
    VESCENE_LOGTYPE_PARCEL = 25,
    VESCENE_LOGTYPE_STOCK = 26,
    VESCENE_LOGTYPE_NEWS = 27,
    VESCENE_LOGTYPE_NOT_CARRIED_OUT = 28,
    VESCENE_LOGTYPE_TRANSLATION = 29,
    VESCENE_LOGTYPE_APPLICATION = 30, /* applications and program links */
    VESCENE_LOGTYPE_MAIN_MENU_WORD = 33,
    VESCENE_LOGTYPE_SLIDE_SHOW = 34,
    VESCENE_LOGTYPE_WORD = 35,
    VESCENE_LOGTYPE_EXCEL = 36,
    VESCENE_LOGTYPE_OFFICE_TEMPLATE = 37,
    VESCENE_LOGTYPE_SCREENSHOT = 38,
    VESCENE_LOGTYPE_AI = 49           /* the AI mode's line */
};

/* The `level` of the diagnostic callback. */
enum { VESCENE_DIAG_INFO = 0, VESCENE_DIAG_WARNING = 1, VESCENE_DIAG_ERROR = 2 };

/* The `status` of the online_result callback: what became of one online request. */
enum {
    VESCENE_ONLINE_DONE = 1,       /* the reply's scene (the `scene` argument) carried it out */
    VESCENE_ONLINE_NOT_DONE = 2,   /* the reply named no known scene, or its scene declined */
    VESCENE_ONLINE_ABANDONED = 3,  /* the user spoke again (any entry) first: the reply was not acted on */
    /* failures, negative: the request's HTTP result; the user was told in the result window */
    VESCENE_ONLINE_BAD_URL = -1,
    VESCENE_ONLINE_NO_CONNECTION = -2, /* resolving, connecting, sending, or a malformed reply */
    VESCENE_ONLINE_TIMEOUT = -3,
    VESCENE_ONLINE_HTTP_STATUS = -4,   /* the service answered, but not with 2xx */
    VESCENE_ONLINE_TOO_LARGE = -5,
    VESCENE_ONLINE_BAD_REPLY = -7      /* an empty reply or no JSON object */
};

/* The embedding host's services. Set `size` to sizeof(VeHostCallbacks): a host built against
   an older, shorter table (at least VESCENE_HOST_CALLBACKS_MIN_SIZE) keeps working, the members
   it does not have count as NULL. Any member may be NULL, and then the library does without it:
   - UI output (tray, log, main window pages) is dropped;
   - the yes/no question becomes a message box on Windows and "no" elsewhere;
   - the host's tables (web sites, programs, user files and commands, uninstallers) answer "not
     found", the confidence level is -1 (none);
   - shell_execute and web_search open the target or the search page with the system's browser;
   - the environment services answer as the platform can: -1 (not changed) for volume and
     brightness, the network counts as up, the Windows version as current.
   Texts passed in are UTF-8 and valid only during the call.
   Threads: every callback comes from the thread that called an entry, except while an online
   reply is carried out on the library's one worker thread: then the callbacks its scene uses
   (UI output, yes_or_no, shell_execute, web_search, the data factory's open_*, open_command,
   city, set_volume, set_brightness) come from that thread, and online_result always does.
   diagnostic comes from whichever thread reported. An entry waits (a few seconds at most) for
   an abandoned reply's scene to finish before it goes on, so the two threads rarely overlap.
   Icons: an icon the host hands back through open_program, open_user_files or open_user_self
   stays the host's; the library only passes it to log_icon within the same entry call and never
   destroys it. */
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
    /* appended after the first release: an older host's shorter table leaves them NULL */
    /* the display's brightness now, on set_brightness's scale, or -1 when it cannot be read;
       when it is NULL but set_brightness is not, the level counts as unreadable */
    int (VESCENE_CALL *get_brightness)(void* user);
    /* the library's warnings as they happen (a table that did not load, a refused URL, ...);
       they also go to the debugger output */
    void (VESCENE_CALL *diagnostic)(void* user, int level, const char* message);
    /* what became of an online request: `text` is the utterance, `scene` the reply's scene name
       ("" unless carried out), `status` a VESCENE_ONLINE_* value */
    void (VESCENE_CALL *online_result)(void* user, const char* text, const char* scene, int status);
} VeHostCallbacks;

/* The size of the table of the first release: the smallest `size` accepted. */
#define VESCENE_HOST_CALLBACKS_MIN_SIZE offsetof(VeHostCallbacks, get_brightness)

/* The version of the library actually loaded, "major.minor.patch"; VESCENE_VERSION_STRING and
   VESCENE_VERSION_MAJOR/MINOR/PATCH (vescene/version.h) are the version of this header.
   The text is static: never freed, never changed. */
VESCENE_API const char* VESCENE_CALL VeScene_Version(void) VESCENE_NOEXCEPT;

VESCENE_API VeSceneHandle* VESCENE_CALL VeScene_Create(void) VESCENE_NOEXCEPT;
VESCENE_API void VESCENE_CALL VeScene_Destroy(VeSceneHandle* scene) VESCENE_NOEXCEPT;

/* The entries. Each one abandons an online request still in flight (its reply will not be acted
   on), then handles the engine's result.
   The voice key's entry: `api` 1 is the cloud semantic engine; any other value lets the
   result decide. Returns 0, 1 or 2, or -1 for a NULL argument. An utterance nothing local carried
   out (2) goes to the online service only when an endpoint is set (VeScene_SetEndpoint) and
   check_net answers online; otherwise, with `searchFallback` and the desktop in front, its text is
   searched on the web. */
VESCENE_API int VESCENE_CALL VeScene_ProcessM(VeSceneHandle* scene, const char* result, int api, int searchFallback) VESCENE_NOEXCEPT;

/* The laser pointer's entries (normal and slide-show control), the AI mode, and the office
   voice mode (kind 1 Word, 2 PowerPoint, 3 Excel; any other kind is -1). Same results as
   VeScene_ProcessM. */
VESCENE_API int VESCENE_CALL VeScene_ProcessP_normal(VeSceneHandle* scene, const char* result) VESCENE_NOEXCEPT;
VESCENE_API int VESCENE_CALL VeScene_ProcessP_PPT(VeSceneHandle* scene, const char* result) VESCENE_NOEXCEPT;
VESCENE_API int VESCENE_CALL VeScene_ProcessAI(VeSceneHandle* scene, const char* result) VESCENE_NOEXCEPT;
VESCENE_API int VESCENE_CALL VeScene_ProcessM_office_xiao(VeSceneHandle* scene, const char* result, int kind) VESCENE_NOEXCEPT;

/* The scene name and the recognised text of this handle's last entry call; "" before the first
   and after a call that failed (0 or -1). Valid until the next call on the same handle. */
VESCENE_API const char* VESCENE_CALL VeScene_GetScene(VeSceneHandle* scene) VESCENE_NOEXCEPT;
VESCENE_API const char* VESCENE_CALL VeScene_GetText(VeSceneHandle* scene) VESCENE_NOEXCEPT;

/* The message of the calling thread's last call that failed or partly failed (invalid JSON or
   text, a data directory or table missing or unreadable, a refused URL, a bad argument), UTF-8;
   "" after a call that went well. Valid until the next call on this thread. An online request's
   outcome is reported by online_result instead. */
VESCENE_API const char* VESCENE_CALL VeScene_GetLastError(void) VESCENE_NOEXCEPT;

/* Ends a running online request; call before unloading the library. */
VESCENE_API void VESCENE_CALL VeScene_Release(void) VESCENE_NOEXCEPT;

/* Copies the table (see VeHostCallbacks::size); NULL removes the host's callbacks. Returns 1, or
   -1 when `size` is smaller than VESCENE_HOST_CALLBACKS_MIN_SIZE (0 included): then nothing
   changes. */
VESCENE_API int VESCENE_CALL VeScene_SetHostCallbacks(const VeHostCallbacks* callbacks) VESCENE_NOEXCEPT;

/* Where the data files are read from; NULL or "" is the working directory. Returns 1, or 0 when
   the directory does not exist or lacks one of the data files (the last error names it): then the
   setting does not change. */
VESCENE_API int VESCENE_CALL VeScene_SetDataDirectory(const char* directory) VESCENE_NOEXCEPT;

/* Base URL of a named service endpoint: "online" (the online semantic service) or "songsearch"
   (the song search); other names are kept for the host's own use. The URL must be http or
   https; NULL or "" restores the default. "online" has no default: until it is set nothing is
   sent online. What is sent: the utterance's text and the machine's adapter address, to
   <online>/semantic/comprehend, for an utterance nothing local carried out. Returns 1, 0 when
   the URL is refused, or -1 for a NULL or empty name. */
VESCENE_API int VESCENE_CALL VeScene_SetEndpoint(const char* name, const char* url) VESCENE_NOEXCEPT;

/* Timeouts of every HTTP request, in milliseconds: connecting, and the whole request. A value
   <= 0 restores its default (3000 and 5000). Returns 1. */
VESCENE_API int VESCENE_CALL VeScene_SetHttpTimeouts(int connectMs, int totalMs) VESCENE_NOEXCEPT;

/* Offline understanding, for hosts without the cloud semantic engine (any other recogniser, or
   typed text). When on, VeScene_ProcessM first matches the text of a result with rc 4 or without
   a service against the templates of the data directory's understanding/ folder; a text they
   cover becomes the engine's result for it and is carried out as the engine's own result would
   be, and any other text takes the rc 4 path unchanged. Process-wide, any thread. Off until the
   host turns it on here (`on` non-zero) or, on Windows, with "understanding": true in
   VeScene.host.json; a call here wins over the file. The templates are read on first use.
   Returns 1. */
VESCENE_API int VESCENE_CALL VeScene_SetUnderstanding(int on) VESCENE_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
