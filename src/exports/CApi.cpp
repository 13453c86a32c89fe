// The C API: the same entries for hosts that cannot use the C++ class.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "exports/HostBackend.h"
#include "host/DataDirectory.h"
#include "host/HostCallbacks.h"
#include "platform/Diagnostic.h"
#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"
#include "understanding/Understanding.h"
#include "vescene/CVeSceneFactory.h"
#include "vescene/vescene.h"

// A handle keeps, as C strings the host may hold until its next call, what its last entry left.
struct VeSceneHandle {
    CVeSceneFactory factory;
    std::string scene;
    std::string text;
};

namespace {

// Runs one entry on the handle and keeps its scene and text there; a failed call leaves none.
// The factory's entries report their own failures; anything thrown past them still ends here.
template <typename Entry>
int RunEntry(VeSceneHandle* handle, const char* name, Entry entry) noexcept {
    vediag::ClearLastError();
    int result = VESCENE_FAILED;
    try {
        result = entry(handle->factory);
        if (result != VESCENE_FAILED) {
            handle->scene = textcodec::GbkToUtf8(handle->factory.GetScene());  // GBK, like every routed text
            handle->text = handle->factory.GetText_utf8();
            return result;
        }
    } catch (...) {
    }
    handle->scene.clear();
    handle->text.clear();
    if (vediag::LastError().empty())
        vediag::Fail(textcodec::Utf8ToUtf16(std::string(name) + ": no text was recognised, or it matched no command"));
    return VESCENE_FAILED;
}

int BadArgument(const char16_t* message) {
    vediag::Fail(message);
    return VESCENE_BAD_ARGUMENT;
}

// The host's diagnostic callback hears what the debugger output hears.
void ToHost(vediag::Level level, std::u16string_view message) {
    auto cb = vehost::Callbacks();
    if (cb.diagnostic) cb.diagnostic(cb.user, static_cast<int>(level), textcodec::Utf16ToUtf8(message).c_str());
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
    if (!scene || !result) return BadArgument(u"ProcessM: a NULL handle or result");
    return RunEntry(scene, "ProcessM", [&](CVeSceneFactory& f) {
        return f.ProcessM(result, static_cast<IatAPI>(api), searchFallback != 0);
    });
}

VESCENE_API int VESCENE_CALL VeScene_ProcessP_normal(VeSceneHandle* scene, const char* result) noexcept {
    if (!scene || !result) return BadArgument(u"ProcessP_normal: a NULL handle or result");
    return RunEntry(scene, "ProcessP_normal", [&](CVeSceneFactory& f) { return f.ProcessP_normal(result); });
}

VESCENE_API int VESCENE_CALL VeScene_ProcessP_PPT(VeSceneHandle* scene, const char* result) noexcept {
    if (!scene || !result) return BadArgument(u"ProcessP_PPT: a NULL handle or result");
    return RunEntry(scene, "ProcessP_PPT", [&](CVeSceneFactory& f) { return f.ProcessP_PPT(result); });
}

VESCENE_API int VESCENE_CALL VeScene_ProcessAI(VeSceneHandle* scene, const char* result) noexcept {
    if (!scene || !result) return BadArgument(u"ProcessAI: a NULL handle or result");
    return RunEntry(scene, "ProcessAI", [&](CVeSceneFactory& f) { return f.ProcessAI(result); });
}

VESCENE_API int VESCENE_CALL VeScene_ProcessM_office_xiao(VeSceneHandle* scene, const char* result, int kind) noexcept {
    if (!scene || !result) return BadArgument(u"ProcessM_office_xiao: a NULL handle or result");
    if (kind < TyOffice_Word || kind > TyOffice_Excel)
        return BadArgument(u"ProcessM_office_xiao: kind must be 1 (Word), 2 (PowerPoint) or 3 (Excel)");
    return RunEntry(scene, "ProcessM_office_xiao", [&](CVeSceneFactory& f) {
        return f.ProcessM_office_xiao(result, static_cast<TyOfficeKind>(kind));
    });
}

VESCENE_API const char* VESCENE_CALL VeScene_GetScene(VeSceneHandle* scene) noexcept { return scene ? scene->scene.c_str() : ""; }

VESCENE_API const char* VESCENE_CALL VeScene_GetText(VeSceneHandle* scene) noexcept { return scene ? scene->text.c_str() : ""; }

VESCENE_API const char* VESCENE_CALL VeScene_GetLastError(void) noexcept { return vediag::LastError().c_str(); }

VESCENE_API void VESCENE_CALL VeScene_Release(void) noexcept {
    vediag::ClearLastError();
    try {
        CVeSceneFactory::Release();
    } catch (...) {
    }
}

VESCENE_API int VESCENE_CALL VeScene_SetHostCallbacks(const VeHostCallbacks* callbacks) noexcept {
    vediag::ClearLastError();
    try {
        if (!callbacks) {
            vediag::SetSink(nullptr);
            vecapi::UseHostCallbacks(false);
            vehost::SetCallbacks(nullptr);
            return 1;
        }
        if (callbacks->size < VESCENE_HOST_CALLBACKS_MIN_SIZE)
            return BadArgument(u"SetHostCallbacks: size must be sizeof(VeHostCallbacks)");
        // Only as much as the host's table holds: an older host passes a shorter one. Every
        // member is pointer-sized, and a size that cuts one leaves it out, never half a pointer.
        static_assert(sizeof(VeHostCallbacks) % sizeof(void*) == 0);
        VeHostCallbacks table{};
        std::memcpy(&table, callbacks, std::min(callbacks->size, sizeof table) / sizeof(void*) * sizeof(void*));
        table.size = sizeof table;
        vehost::SetCallbacks(&table);
        vecapi::UseHostCallbacks(true);
        vediag::SetSink(&ToHost);
        return 1;
    } catch (...) {
        return VESCENE_FAILED;
    }
}

VESCENE_API int VESCENE_CALL VeScene_SetDryRun(int on) noexcept {
    vediag::ClearLastError();
    try {
        vecapi::UseDryRun(on != 0);
        return 1;
    } catch (...) {
        return VESCENE_FAILED;
    }
}

VESCENE_API int VESCENE_CALL VeScene_SetDataDirectory(const char* directory) noexcept {
    vediag::ClearLastError();
    try {
        const std::string utf8Directory = directory ? directory : "";
        if (const std::u16string missing = vehost::MissingData(utf8Directory); !missing.empty()) {
            vediag::Fail(missing);
            return VESCENE_FAILED;
        }
        vehost::SetDataDirectory(utf8Directory);
        return 1;
    } catch (...) {
        return VESCENE_FAILED;
    }
}

VESCENE_API int VESCENE_CALL VeScene_SetEndpoint(const char* name, const char* url) noexcept {
    vediag::ClearLastError();
    if (!name || !*name) return BadArgument(u"SetEndpoint: a NULL or empty name");
    try {
        if (vehttp::SetEndpoint(name, url ? url : "")) return 1;
        vediag::Fail(u"SetEndpoint: the URL must be http or https");
    } catch (...) {
    }
    return VESCENE_FAILED;
}

VESCENE_API int VESCENE_CALL VeScene_SetHttpTimeouts(int connectMs, int totalMs) noexcept {
    vediag::ClearLastError();
    try {
        vehttp::SetTimeouts(connectMs, totalMs);
        return 1;
    } catch (...) {
        return VESCENE_FAILED;
    }
}

VESCENE_API int VESCENE_CALL VeScene_SetUnderstanding(int on) noexcept {
    vediag::ClearLastError();
    understanding::SetEnabled(on != 0);
    return 1;
}

}  // extern "C"
