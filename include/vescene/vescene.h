/* VeScene C API: usable from C and from any compiler or language that can load the DLL. This
   header is the whole host guide: what each function does, every value a callback receives, which
   thread calls what, what blocks and for how long, and what is per handle or process-wide.
   Every text is UTF-8 and NUL-terminated. No function throws. Every function and callback is
   __cdecl on Windows (VESCENE_CALL).

   Threads and blocking
   - An entry (VeScene_ProcessM ...) runs on the thread that calls it and returns when the
     utterance has been carried out: usually within milliseconds, but it blocks while a callback
     blocks (yes_or_no waits for the user), while a program it closes is given up to 5 s to end,
     while an online request it abandons is given up to 3 s to stop, and while keys are played
     (a few pauses of 40..50 ms). Call the entries from a thread that may wait that long: a
     worker of the host's, not its UI thread (the reference host, VeSceneHost.cpp, does so).
   - Per handle: the scene and text of the last entry (VeScene_GetScene, VeScene_GetText). Use one
     handle from one thread at a time; separate handles may run entries on separate threads at
     once.
   - Process-wide, shared by every handle and safe to call from any thread at any time: the host
     callbacks (VeScene_SetHostCallbacks), the data directory, the endpoints and HTTP timeouts,
     the dry run, and the online request: at most one is in flight for the whole process, and
     an entry on any handle abandons it. The last error is per thread.
   - Callbacks come from the thread that called the entry, except those of an online reply's
     scene, which come from the library's one worker thread (see VeHostCallbacks). */
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
     "rc=4"          the engine understood nothing (rc 4 or no service) and no local rule rewrote it
                     into a service: the library's local commands then had their turn, so a
                     carried-out local command (a volume phrase, a Windows tool, a slide-show
                     key) reports VESCENE_DONE with scene "rc=4"; with VESCENE_UNHANDLED the
                     utterance may have gone online
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

/* The `param` of the tray callback: always VESCENE_TRAY_SHOW (1), "show this text in the
   floating result window, replacing what it showed". The library passes no other value. */
enum { VESCENE_TRAY_SHOW = 1 };

/* Fixed texts that arrive through tray (with VESCENE_TRAY_SHOW), each with a log line of
   VESCENE_LOGTYPE_FAILURE where it reports a failure; a host may show its own words for them:
     "__识别出错__"        recognition error: the result held no text to act on (the offline
                          result's word list was empty, or a TPP result had no text)
     "__语音识别失败__"    speech recognition failed: the engine's score was too low (below 45,
                          55 in the office mode) while the network was up
     "未能匹配到指令"      no command matched (the pointer; also with the prefixes
                          "普通控制：" and "PPT控制：" in the log)
     "该指令在普通控制下无效", "该指令在PPT控制下无效", "请点击ppt再操作"  a pointer command
                          that does not work in the current control, or needs a slide show in front
     "在线服务暂时不可用"  the online service failed (see online_result)
     "音量：<n>"          the volume level now set
   Any other tray text is the recognised utterance, shown as the user said it. */

/* The `param` of interactive_set, the answer window (jokes, poems, answers, chat):
     VESCENE_INTERACTIVE_ANSWER (2) with a text: add this paragraph of an answer; several may
       follow for one utterance (a list of jokes), show them in order;
     VESCENE_INTERACTIVE_CLEAR (3) with text NULL: a new utterance is being routed, clear the
       answer window (and hide it if the host shows it only with an answer).
   No other combination is passed. */
enum { VESCENE_INTERACTIVE_ANSWER = 2, VESCENE_INTERACTIVE_CLEAR = 3 };

/* The `page` of main_menu: the page of the host's main window to open and bring to the front. */
enum {
    VESCENE_PAGE_LOG = 14,            /* the main window with its log ("打开主窗口", "日志") */
    VESCENE_PAGE_SCREENSHOT = 16,     /* the screenshot tool ("截图", "屏幕截图", "截图工具") */
    VESCENE_PAGE_RECORD_TO_TEXT = 19, /* recording to text ("录音转文字") */
    VESCENE_PAGE_USER_COMMANDS = 20,  /* the user's own commands ("个人命令", "用户自定义") */
    VESCENE_PAGE_HOT_WORDS = 21       /* the user's hot words ("个人热词") */
};

/* The brightness scale of set_brightness and get_brightness: 0 (darkest) to 255 (brightest),
   128 normal; a step up or down is 15. Levels passed to set_brightness are clamped to the scale. */
enum { VESCENE_BRIGHTNESS_MIN = 0, VESCENE_BRIGHTNESS_NORMAL = 128, VESCENE_BRIGHTNESS_MAX = 255 };

/* set_volume's `level` with muteSwitch 0: these two ask for one step (10 on Windows) up or down;
   any other level is the level to set, 0..100. With muteSwitch 1, level 1 mutes and 0 unmutes. */
enum { VESCENE_VOLUME_STEP_UP = 200, VESCENE_VOLUME_STEP_DOWN = -200 };

/* The embedding host's services. Set `size` to sizeof(VeHostCallbacks): a host built against
   an older, shorter table (at least VESCENE_HOST_CALLBACKS_MIN_SIZE) keeps working, the members
   it does not have count as NULL. Any member may be NULL, and then the library does without it:
   - UI output (tray, log, main window pages, the AI chat) is dropped;
   - the yes/no question becomes a message box on Windows, and "no" on Linux;
   - the host's tables: on Windows the library's own lookups (Start Menu shortcuts, uninstall
     entries, VeScene.host.json beside the DLL), on Linux "not found"; the confidence level is -1;
   - shell_execute and web_search: on Windows the target or the search page opens with the
     system's browser; on Linux nothing opens;
   - set_volume and set_brightness: on Windows the system mixer and the display; on Linux -1
     (not changed); check_net: the system's answer on Windows, up on Linux; os_version: current.
   The Linux library has no desktop: besides the above, it presses no key and starts, closes
   or locks nothing; each such action is reported through diagnostic as "no desktop: ..." instead.
   Texts passed in are UTF-8 and valid only during the call.
   Threads: every callback comes from the thread that called an entry, except while an online
   reply is carried out on the library's one worker thread: then the callbacks its scene uses
   (UI output, yes_or_no, shell_execute, web_search, the data factory's open_*, open_command,
   city, set_volume, set_brightness) come from that thread, and online_result always does.
   diagnostic comes from whichever thread reported. An entry waits (3 s at most) for an
   abandoned reply's scene to finish before it goes on, so the two threads rarely overlap; a host
   whose callbacks touch its windows marshals them to its UI thread (PostMessage; SendMessage is
   safe from the worker thread but not from the thread that called the entry if the UI thread
   itself is waiting for that entry).
   Icons: an icon the host hands back through open_program, open_user_files or open_user_self
   stays the host's; the library only passes it to log_icon within the same entry call and never
   destroys it. */
typedef struct VeHostCallbacks {
    size_t size;
    void* user; /* passed back as the first argument of every callback */

    /* ---- UI output ---- */
    /* tray: a text for the floating result window; `param` is always VESCENE_TRAY_SHOW. The text
       is the recognised utterance (shown before it is carried out) or one of the fixed texts
       listed at VESCENE_TRAY_SHOW, such as "__识别出错__" and "__语音识别失败__". */
    void (VESCENE_CALL *tray)(void* user, const char* text, int param);
    /* tray_question: the question an answer follows (a joke, a poem, chat), for the result window. */
    void (VESCENE_CALL *tray_question)(void* user, const char* text);
    /* interactive_set: the answer window; (text, VESCENE_INTERACTIVE_ANSWER) adds a paragraph,
       (NULL, VESCENE_INTERACTIVE_CLEAR) clears it before each utterance is routed. */
    void (VESCENE_CALL *interactive_set)(void* user, const char* text /* may be NULL */, int param);
    /* log: one line of the host's log window: `logType` a VESCENE_LOGTYPE_* value (its kind and
       icon), `channel` a VESCENE_LOG* value (which of the host's log calls it stands for). */
    void (VESCENE_CALL *log)(void* user, const char* text, int logType, int channel);
    /* log_icon: a log line with the icon (HICON on Windows) of the program that was started. */
    void (VESCENE_CALL *log_icon)(void* user, const char* text, void* icon);
    /* main_menu: open a page of the host's main window, a VESCENE_PAGE_* value. */
    void (VESCENE_CALL *main_menu)(void* user, int page);
    /* yes_or_no: ask the user `question` (such as "是否确定关机？") and wait for the answer; return
       nonzero for yes, 0 for no. The entry waits as long as this callback does; on no, nothing
       happens. Asked before shutdown, restart, log-off and before a program that would not
       close is ended. */
    int (VESCENE_CALL *yes_or_no)(void* user, const char* question);
    /* shell_execute: open a URL, document or command line the library chose (a search page, a
       site of its own table, a download page); web addresses are http(s) and percent-encoded. */
    void (VESCENE_CALL *shell_execute)(void* user, const char* target);

    /* ---- the host's tables (its data factory): nonzero when the host acted, 0 for "not found"
       (the library then tries its next way). On success the host may set *logType to a
       VESCENE_LOGTYPE_* value for the log line and *icon to the icon of what it opened. ---- */
    /* open_website: a web site named by the engine's result: a shopping or video site, a
       courier's tracking page, a site to search on. `name` is the name as the result gave it. */
    int (VESCENE_CALL *open_website)(void* user, const char* name, int* logType);
    /* open_website_grm: a name the user said as a command ("打开X", the pointer's grammar),
       asked after the host's programs; a web site the host knows by that name. */
    int (VESCENE_CALL *open_website_grm)(void* user, const char* name, int* logType);
    /* open_program: start an installed program the user named. */
    int (VESCENE_CALL *open_program)(void* user, const char* name, int* logType, void** icon);
    /* open_user_files: open a file, folder or command the user bound to this phrase. */
    int (VESCENE_CALL *open_user_files)(void* user, const char* name, int* logType, void** icon);
    /* uninstall_program: start the uninstaller of the program of that name. */
    int (VESCENE_CALL *uninstall_program)(void* user, const char* name, int* logType);
    /* set_normal: the host's normal-mode flag; called with 1 each time an utterance the engine did
       not understand goes through the library's local rules. No other value is passed. */
    void (VESCENE_CALL *set_normal)(void* user, int normal);
    /* confidence_level: the user's minimum score for this command text, on the scale of the
       offline recogniser's "sc" score (0..100); -1 for none. The pointer's entries refuse a local
       result scored below it (and below 20 in any case). */
    int (VESCENE_CALL *confidence_level)(void* user, const char* text);

    /* ---- the account binding, the host's own commands, AI chat, office, location ---- */
    /* open_user_self: run the user's own command bound to this phrase (the account's table). */
    int (VESCENE_CALL *open_user_self)(void* user, const char* name, int* logType, void** icon);
    /* open_command: run the host command of that name (a TPP result's command, such as
       "volume_up"); nonzero when the host has one. */
    int (VESCENE_CALL *open_command)(void* user, const char* command);
    /* open_ai: hand the text to the host's AI chat (the AI mode). */
    void (VESCENE_CALL *open_ai)(void* user, const char* text);
    /* word_template: create a Word document from the template of that name; nonzero on success. */
    int (VESCENE_CALL *word_template)(void* user, const char* name);
    /* city: the user's city, UTF-8, for weather and local searches; valid until the next call;
       NULL or "" when unknown. */
    const char* (VESCENE_CALL *city)(void* user);
    /* web_search: search the text on the web (the fallback for what nothing else carried out). */
    void (VESCENE_CALL *web_search)(void* user, const char* text);

    /* ---- environment ---- */
    /* set_volume: (1, 1) mutes, (0, 1) unmutes, (VESCENE_VOLUME_STEP_UP, 0) and
       (VESCENE_VOLUME_STEP_DOWN, 0) one step, (n, 0) level n, 0..100 (the library refuses a level
       outside it). Returns the level now set, 0..100, or -1 when nothing changed. */
    int (VESCENE_CALL *set_volume)(void* user, int level, int muteSwitch);
    /* set_brightness: set the display's brightness, 0..255 (VESCENE_BRIGHTNESS_*), the level
       already clamped to the scale. Returns the level now set on that scale, or -1. */
    int (VESCENE_CALL *set_brightness)(void* user, int level);
    /* check_net: nonzero when the network is up (the online request and the score test use it). */
    int (VESCENE_CALL *check_net)(void* user);
    /* os_version: 0 for the old generation (before Vista), anything else for current. */
    int (VESCENE_CALL *os_version)(void* user);
    /* elevate_permission: called right before shutdown, restart or log-off: obtain the shutdown
       privilege (SeShutdownPrivilege) for the process. */
    void (VESCENE_CALL *elevate_permission)(void* user);

    /* ---- appended after the first release: an older host's shorter table leaves them NULL ---- */
    /* get_brightness: the display's brightness now, 0..255, or -1 when it cannot be read; when it
       is NULL but set_brightness is not, the level counts as unreadable. */
    int (VESCENE_CALL *get_brightness)(void* user);
    /* diagnostic: the library's warnings as they happen (a table that did not load, a refused
       URL, in a dry run each action left out, ...), `level` a VESCENE_DIAG_* value; they also go
       to the debugger output. */
    void (VESCENE_CALL *diagnostic)(void* user, int level, const char* message);
    /* online_result: what became of an online request: `text` is the utterance, `scene` the
       reply's scene name ("" unless carried out), `status` a VESCENE_ONLINE_* value. */
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

/* Stops a running online request; call before unloading the library. It aborts the request's
   transfer and waits up to about a second for it to end, then up to a second for WinHTTP to
   close its last handle, dispatching messages sent to the calling thread meanwhile. Nothing is
   killed: a request still running after that (a host callback that has not returned) ends by
   itself, acts on nothing, and keeps the library loaded until it has. Process-wide; the handles stay
   usable. */
VESCENE_API void VESCENE_CALL VeScene_Release(void) VESCENE_NOEXCEPT;

/* Copies the table (see VeHostCallbacks::size); NULL removes the host's callbacks. Process-wide:
   every handle uses the last table set, and it may be replaced from any thread at any time (a
   callback in progress finishes with the old one). Returns 1, or
   -1 when `size` is smaller than VESCENE_HOST_CALLBACKS_MIN_SIZE (0 included): then nothing
   changes. */
VESCENE_API int VESCENE_CALL VeScene_SetHostCallbacks(const VeHostCallbacks* callbacks) VESCENE_NOEXCEPT;

/* A dry run (`on` nonzero) until it is called with 0: process-wide, nothing reaches the desktop.
   No key or mouse input, no window closed, no program started or ended, no page opened, no
   volume or brightness change, no lock, shutdown, restart or log-off: each such action is
   reported instead through diagnostic (VESCENE_DIAG_INFO, "dry run: <call>", e.g.
   "dry run: ExitWindowsEx(1, 0)", "dry run: open \"https://...\"") and counts as done. The
   host's callbacks are still called (the host decides what its own do in a dry run), queries
   (the foreground window, the network) still answer, and the online request still goes out.
   Returns 1. Added in 1.1.0. */
VESCENE_API int VESCENE_CALL VeScene_SetDryRun(int on) VESCENE_NOEXCEPT;

/* Where the data files are read from; NULL or "" is the working directory. Returns 1, or 0 when
   the directory does not exist or lacks one of the data files (the last error names it): then the
   setting does not change. */
VESCENE_API int VESCENE_CALL VeScene_SetDataDirectory(const char* directory) VESCENE_NOEXCEPT;

/* Base URL of a named service endpoint: "online" (the online semantic service) or "songsearch"
   (the song search); other names are kept for the host's own use. The URL must be http or
   https; NULL or "" removes it. None is built in: until a service is set nothing is sent to
   it, and nothing is sent while check_net (or the system) says the network is down. What is sent: the utterance's text and the machine's adapter address, to
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
