/* VeScene C API: usable from C and from any compiler or language that can load the DLL.
   Every text is UTF-8 and NUL-terminated. No function throws. */
#ifndef VESCENE_VESCENE_H
#define VESCENE_VESCENE_H

#include "vescene/Export.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct VeSceneHandle VeSceneHandle;

/* Results of the entries. */
enum { VESCENE_FAILED = 0, VESCENE_DONE = 1, VESCENE_UNHANDLED = 2, VESCENE_BAD_ARGUMENT = -1 };

/* Which log call a log line came from. */
enum { VESCENE_LOG = 0, VESCENE_LOG_2 = 1, VESCENE_LOG_NOLT = 2, VESCENE_LOG_DEBUG = 3 };

/* The embedding host's services. Any member may be NULL: UI output is then dropped, the
   yes/no question becomes a message box, and the host's tables answer "not found" (0, or
   -1 for the confidence level). */
typedef struct VeHostCallbacks {
    void* user;
    void (*tray)(void* user, const char* text, int param);
    void (*tray_question)(void* user, const char* text);
    void (*interactive_set)(void* user, const char* text /* may be NULL */, int param);
    void (*log)(void* user, const char* text, int logType, int channel);
    void (*log_icon)(void* user, const char* text, void* icon);
    void (*main_menu)(void* user, int page);
    int (*yes_or_no)(void* user, const char* question);
    int (*open_website)(void* user, const char* name, int* logType);
    int (*open_website_grm)(void* user, const char* name, int* logType);
    int (*open_program)(void* user, const char* name, int* logType, void** icon);
    int (*open_user_files)(void* user, const char* name, int* logType, void** icon);
    int (*uninstall_program)(void* user, const char* name, int* logType);
    void (*set_normal)(void* user, int normal);
    int (*confidence_level)(void* user, const char* text);
    int (*open_user_self)(void* user, const char* name, int* logType, void** icon);
    int (*open_command)(void* user, const char* command);
    void (*open_ai)(void* user, const char* text);
    const char* (*city)(void* user); /* valid until the next call; NULL or "" when unknown */
} VeHostCallbacks;

VESCENE_API VeSceneHandle* VeScene_Create(void);
VESCENE_API void VeScene_Destroy(VeSceneHandle* scene);

/* The voice key's entry: `api` 1 is the cloud semantic engine; any other value lets the
   result decide. Returns 0, 1 or 2, or -1 for a NULL argument. */
VESCENE_API int VeScene_ProcessM(VeSceneHandle* scene, const char* result, int api, int searchFallback);

/* The laser pointer's entries (normal and slide-show control), the AI mode, and the office
   voice mode (kind 1 Word, 2 PowerPoint, 3 Excel). Same results as VeScene_ProcessM. */
VESCENE_API int VeScene_ProcessP_normal(VeSceneHandle* scene, const char* result);
VESCENE_API int VeScene_ProcessP_PPT(VeSceneHandle* scene, const char* result);
VESCENE_API int VeScene_ProcessAI(VeSceneHandle* scene, const char* result);
VESCENE_API int VeScene_ProcessM_office_xiao(VeSceneHandle* scene, const char* result, int kind);

/* Valid until the next call on the same handle. */
VESCENE_API const char* VeScene_GetScene(VeSceneHandle* scene);
VESCENE_API const char* VeScene_GetText(VeSceneHandle* scene);

/* Ends a running online request; call before unloading the library. */
VESCENE_API void VeScene_Release(void);

/* Copies the table; NULL removes the host's callbacks. */
VESCENE_API void VeScene_SetHostCallbacks(const VeHostCallbacks* callbacks);

/* Where the data files are read from; NULL or "" is the working directory. Returns 1. */
VESCENE_API int VeScene_SetDataDirectory(const char* directory);

/* Base URL of a named service endpoint: "online" (the online semantic service) or "songsearch"
   (the song search); other names are kept for the host's own use. The URL must be http or
   https; NULL or "" restores the default. Returns 1, 0 when the URL is refused, or -1 for a
   NULL or empty name. */
VESCENE_API int VeScene_SetEndpoint(const char* name, const char* url);

/* Timeouts of every HTTP request, in milliseconds: connecting, and the whole request. A value
   <= 0 restores its default (3000 and 5000). */
VESCENE_API void VeScene_SetHttpTimeouts(int connectMs, int totalMs);

#ifdef __cplusplus
}
#endif

#endif
