// The C API: the same entries for hosts that cannot use the C++ class.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "exports/HostBackend.h"
#include "host/DataDirectory.h"
#include "host/HostCallbacks.h"
#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"
#include "vescene/CVeSceneFactory.h"
#include "vescene/vescene.h"

struct VeSceneHandle {
    CVeSceneFactory factory;
    std::string scene;
    std::string text;
};

namespace {
// The factory's entries report their own failures; anything thrown past them still ends here.
template <typename Entry>
int Guarded(Entry entry) noexcept {
    try {
        return entry();
    } catch (...) {
        return VESCENE_FAILED;
    }
}
}  // namespace

extern "C" {

VESCENE_API const char* VESCENE_CALL VeScene_Version(void) noexcept { return VESCENE_VERSION_STRING; }

VESCENE_API VeSceneHandle* VESCENE_CALL VeScene_Create(void) noexcept {
    try {
        return std::make_unique<VeSceneHandle>().release();  // the caller owns it until VeScene_Destroy
    } catch (...) {
        return nullptr;
    }
}

VESCENE_API void VESCENE_CALL VeScene_Destroy(VeSceneHandle* scene) noexcept { std::unique_ptr<VeSceneHandle> owned(scene); }

VESCENE_API int VESCENE_CALL VeScene_ProcessM(VeSceneHandle* scene, const char* result, int api, int searchFallback) noexcept {
    if (!scene || !result) return VESCENE_BAD_ARGUMENT;
    return Guarded([&] { return scene->factory.ProcessM(result, static_cast<IatAPI>(api), searchFallback != 0); });
}

VESCENE_API int VESCENE_CALL VeScene_ProcessP_normal(VeSceneHandle* scene, const char* result) noexcept {
    if (!scene || !result) return VESCENE_BAD_ARGUMENT;
    return Guarded([&] { return scene->factory.ProcessP_normal(result); });
}

VESCENE_API int VESCENE_CALL VeScene_ProcessP_PPT(VeSceneHandle* scene, const char* result) noexcept {
    if (!scene || !result) return VESCENE_BAD_ARGUMENT;
    return Guarded([&] { return scene->factory.ProcessP_PPT(result); });
}

VESCENE_API int VESCENE_CALL VeScene_ProcessAI(VeSceneHandle* scene, const char* result) noexcept {
    if (!scene || !result) return VESCENE_BAD_ARGUMENT;
    return Guarded([&] { return scene->factory.ProcessAI(result); });
}

VESCENE_API int VESCENE_CALL VeScene_ProcessM_office_xiao(VeSceneHandle* scene, const char* result, int kind) noexcept {
    if (!scene || !result) return VESCENE_BAD_ARGUMENT;
    return Guarded([&] { return scene->factory.ProcessM_office_xiao(result, static_cast<TyOfficeKind>(kind)); });
}

VESCENE_API const char* VESCENE_CALL VeScene_GetScene(VeSceneHandle* scene) noexcept {
    if (!scene) return "";
    try {
        scene->scene = textcodec::GbkToUtf8(scene->factory.GetScene());  // GBK, like every routed text
    } catch (...) {
        scene->scene.clear();
    }
    return scene->scene.c_str();
}

VESCENE_API const char* VESCENE_CALL VeScene_GetText(VeSceneHandle* scene) noexcept {
    if (!scene) return "";
    try {
        scene->text = scene->factory.GetText_utf8();
    } catch (...) {
        scene->text.clear();
    }
    return scene->text.c_str();
}

VESCENE_API void VESCENE_CALL VeScene_Release(void) noexcept {
    try {
        CVeSceneFactory::Release();
    } catch (...) {
    }
}

VESCENE_API void VESCENE_CALL VeScene_SetHostCallbacks(const VeHostCallbacks* callbacks) noexcept {
    try {
        if (!callbacks) {
            vecapi::UseHostCallbacks(false);
            vehost::SetCallbacks(nullptr);
            return;
        }
        // Only as much as the host's table holds: an older host passes a shorter one. Every
        // member is pointer-sized, and a size that cuts one leaves it out, never half a pointer.
        static_assert(sizeof(VeHostCallbacks) % sizeof(void*) == 0);
        VeHostCallbacks table{};
        std::memcpy(&table, callbacks, std::min(callbacks->size, sizeof table) / sizeof(void*) * sizeof(void*));
        table.size = sizeof table;
        vehost::SetCallbacks(&table);
        vecapi::UseHostCallbacks(true);
    } catch (...) {
    }
}

VESCENE_API int VESCENE_CALL VeScene_SetDataDirectory(const char* directory) noexcept {
    try {
        vehost::SetDataDirectory(directory ? directory : "");
        return 1;
    } catch (...) {
        return 0;
    }
}

VESCENE_API int VESCENE_CALL VeScene_SetEndpoint(const char* name, const char* url) noexcept {
    if (!name || !*name) return VESCENE_BAD_ARGUMENT;
    try {
        return vehttp::SetEndpoint(name, url ? url : "") ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

VESCENE_API void VESCENE_CALL VeScene_SetHttpTimeouts(int connectMs, int totalMs) noexcept {
    try {
        vehttp::SetTimeouts(connectMs, totalMs);
    } catch (...) {
    }
}

}  // extern "C"
