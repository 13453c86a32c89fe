#pragma once
// The steps the semantic and the TPP dispatchers share once they know the text and the scene
// name: show the text, give the user's own commands and the main-window words the first
// chance, run the registry's scene, log the outcome. One scene run (text, Parse, Execute, log)
// also serves the pen entries and the online thread.
#include <functional>
#include <memory>
#include <string>

#include "core/CString.h"
#include "host/VeJson.h"
#include "platform/Diagnostic.h"
#include "platform/TextCodec.h"
#include "scenes/base/VeBasicService.h"
#include "vescene/CVeSceneFactory.h"

using SceneRegistry = std::unique_ptr<VeBasicService> (*)(const std::string& name);

// How a scene run ended: carried out; declined, so the utterance may go on (online, to a
// search); or not carried out with the user told why, which ends it.
enum class SceneOutcome { Done, Declined, Answered };

// `sceneName` becomes "userself" when a user command or main-window word matched. `handOver`
// says whether an unhandled utterance may still go online or to a search.
VeProcessState RouteUtterance(VeJson& doc, const std::string& utf8Text, std::string& sceneName,
                              SceneRegistry registry, bool& handOver);

// How a scene run's outcome reaches the host's log.
enum class OutcomeLog {
    Log,         // Log_HICON with the icon the scene left, else Log_2 with its log type
    TrayAndLog,  // as Log, after the text is shown in the result window (done only)
    Nolt,        // Log_nolt with the scene's log type (the online thread; an icon is not shown)
};

// One scene run: the scene gets the GBK text, parses the document and executes; a done scene
// (non-zero) is logged with `shown` as `log` says, any other as not carried out (28) on the
// same log.
SceneOutcome RunScene(VeBasicService& scene, VeJson& doc, const std::string& gbkText, const CString& shown,
             OutcomeLog log);

// The online thread's last step, apart so that a reply can be tried without HTTP: the reply
// body's scene runs for the utterance. Returns a VESCENE_ONLINE_* status, with the scene's name
// in utf8Scene when it was carried out; `abandoned` is asked once more just before acting;
// `answered` is set when the scene told the user why it did nothing (then nothing else is tried).
int RunOnlineReply(const std::string& body, const std::string& utf8Text, std::string& utf8Scene,
                   const std::function<bool()>& abandoned = {}, bool* answered = nullptr);

// A done step's log line: Log_HICON when it left an icon, else Log_2 with its log type.
void LogOutcome(const CString& text, LogType logType, vewin::HICON icon);

// Shows a fixed failure text in the result and log windows.
void ReportFailure(const char16_t* text);

// The user spoke again: an online request in flight is abandoned (its reply is not acted on);
// waits a moment for its worker to finish.
void AbandonOnlineRequest();

// Every entry's frame: abandon the older online request, parse the result, refuse an invalid
// one, and let nothing escape into the host.
template <typename Body>
VeProcessState WithDocument(const char* text, Body body) noexcept {
    try {
        AbandonOnlineRequest();
        VeJson doc(text);
        if (!doc.IsValid()) {
            ReportFailure(u"__识别出错__");
            vediag::Fail(!text || textcodec::IsValidUtf8(text) ? u"the recognition result is not a JSON object"
                                                               : u"the recognition result is not valid UTF-8");
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
