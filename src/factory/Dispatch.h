#pragma once
// The steps the semantic and the TPP dispatchers share once they know the text and the scene
// name: show the text, give the user's own commands and the main-window words the first
// chance, run the registry's scene, log the outcome.
#include <memory>
#include <string>

#include "host/VeJson.h"
#include "scenes/base/VeBasicService.h"
#include "vescene/CVeSceneFactory.h"

using SceneRegistry = std::unique_ptr<VeBasicService> (*)(const std::string& name);

// `sceneName` becomes "userself" when a user command or main-window word matched.
VeProcessState RouteUtterance(VeJson& doc, const std::string& utf8Text, std::string& sceneName,
                              SceneRegistry registry);

// Shows a fixed failure text in the result and log windows.
void ReportFailure(const char16_t* text);

// Every entry's frame: parse the result, refuse an invalid one, and let nothing escape into
// the host.
template <typename Body>
VeProcessState WithDocument(const char* text, Body body) noexcept {
    try {
        VeJson doc(text);
        if (!doc.IsValid()) {
            ReportFailure(u"__识别出错__");
            return ProcessFailed;
        }
        return body(doc);
    } catch (...) {
        return ProcessFailed;  // only memory exhaustion can get here
    }
}

// One leading blank of a recognised text is not part of it.
std::string WithoutLeadingBlank(std::string text);

// atoi without its undefined overflow: digits after an optional sign, saturated; 0 for none.
int ScoreOf(const std::string& text);
