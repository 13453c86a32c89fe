/* A host built against an installed VeScene (find_package(VeScene) or pkg-config vescene). It
   names no data directory, so the library reads the installed tables: the application download
   below is found only in them. It has no set_volume callback: on Linux, with no desktop, a
   volume command changes nothing and is reported through diagnostic instead.
   Exits 0 when every utterance came out as expected. */
#include <stdio.h>
#include <string.h>

#include "vescene/vescene.h"

typedef struct Host {
    char opened[512];   /* the last target the library asked the host to open */
    char reported[512]; /* the last "no desktop: ..." diagnostic */
} Host;

static void OnDiagnostic(void* user, int level, const char* message) {
    Host* host = (Host*)user;
    (void)level;
    if (strncmp(message, "no desktop: ", 12) == 0) snprintf(host->reported, sizeof host->reported, "%s", message);
}

static void OnShellExecute(void* user, const char* target) {
    Host* host = (Host*)user;
    snprintf(host->opened, sizeof host->opened, "%s", target);
}

static int OnCheckNet(void* user) {
    (void)user;
    return 0; /* offline: nothing here may wait for the online service */
}

/* Says `text` to the voice key's entry; checks the scene, the text and the start of what was opened. */
static int Say(VeSceneHandle* scene, Host* host, const char* text, const char* expectedScene, const char* expectedOpen) {
    char result[256];
    snprintf(result, sizeof result, "{\"text\":\"%s\",\"rc\":4}", text);
    host->opened[0] = '\0';
    int done = VeScene_ProcessM(scene, result, 0, 1);
    const char* gotScene = VeScene_GetScene(scene);
    const char* gotText = VeScene_GetText(scene);
    printf("%s -> %d  scene \"%s\"  text \"%s\"  opened \"%s\"\n", text, done, gotScene, gotText, host->opened);
    if (done == VESCENE_DONE && strcmp(gotScene, expectedScene) == 0 && strcmp(gotText, text) == 0 &&
        strncmp(host->opened, expectedOpen, strlen(expectedOpen)) == 0)
        return 1;
    printf("  expected: 1  scene \"%s\"  opened \"%s...\"\n", expectedScene, expectedOpen);
    return 0;
}

int main(void) {
    Host host = {"", ""};
    VeHostCallbacks callbacks;
    memset(&callbacks, 0, sizeof callbacks);
    callbacks.size = sizeof callbacks;
    callbacks.user = &host;
    callbacks.shell_execute = OnShellExecute;
    callbacks.check_net = OnCheckNet;
    callbacks.diagnostic = OnDiagnostic;
    VeScene_SetHostCallbacks(&callbacks);
    /* Nothing leaves the machine: a closed local port. */
    VeScene_SetEndpoint("online", "http://127.0.0.1:9");
    VeScene_SetEndpoint("songsearch", "http://127.0.0.1:9");

    VeSceneHandle* scene = VeScene_Create();
    if (!scene) return 2;
    int ok = Say(scene, &host, "百度一下深度学习", "baidusearch",
                 "https://www.baidu.com/s?wd=%E6%B7%B1%E5%BA%A6%E5%AD%A6%E4%B9%A0");
    ok &= Say(scene, &host, "下载微信", "application", "https://pc.weixin.qq.com/");
    /* Carried out as a local command, on no desktop: nothing set, the action reported. */
    ok &= Say(scene, &host, "音量调高", "rc=4", "");
    printf("diagnostic: \"%s\"\n", host.reported);
    ok &= strcmp(host.reported, "no desktop: SetVolume(200, 0)") == 0;
    VeScene_Destroy(scene);
    VeScene_Release();
    puts(ok ? "consumer: ok" : "consumer: FAILED");
    return ok ? 0 : 1;
}
