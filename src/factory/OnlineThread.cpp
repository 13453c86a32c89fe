// The online semantic request: an utterance no local scene carried out goes to the online
// service on one worker thread, and the reply's scene runs there. A newer utterance abandons
// it: the reply is not acted on, and the newer one goes online in its turn.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>

#include "factory/Dispatch.h"
#include "factory/SceneRegistry.h"
#include "host/CUtil.h"
#include "host/DataDirectory.h"
#include "host/Environment.h"
#include "host/VeChar.h"
#include "host/VeJson.h"
#include "host/VeNet.h"
#include "host/VeUI.h"
#include "platform/Diagnostic.h"
#include "platform/DataFile.h"
#include "platform/HttpConfig.h"
#include "platform/Url.h"
#include "platform/Win32Api.h"
#include "vescene/CVeSceneFactory.h"
#include "vescene/vescene.h"

namespace {

// What the starting dispatcher hands over; the thread owns it, so nothing it reads can change
// under it when the next utterance comes.
struct NoltStart {
    bool bSearchFallback;
    std::string utf8Text;
    std::string endpoint;             // the service as it was set when the user spoke
    unsigned stopEpoch;               // Release's count when the request started
    unsigned long long utterance;     // the entry calls' count when it started
    unsigned long long transferEpoch; // an abort after this aborts the request whenever it starts
};

// Counts the Release calls; a request started before the last one is stopped.
std::atomic<unsigned> g_stopEpoch{0};
// Counts the entry calls; a request started before the last one is abandoned.
std::atomic<unsigned long long> g_utterance{0};

// The worker and what the host's thread knows of it, guarded by g_threadMutex: whether it runs
// and its handle; the request it is to take next (one that came while an abandoned worker was
// still busy after the wait, its scene waiting for the user, say); whether the host's thread
// waits on the handle, and then the handle the worker left it to close (never closed under a wait).
std::mutex g_threadMutex;
bool g_running = false;
vewin::HANDLE g_thread = nullptr;
std::unique_ptr<NoltStart> g_next;
bool g_waiting = false;
vewin::HANDLE g_handedOver = nullptr;

// How long an entry waits for an abandoned request to finish: its transfer is aborted at once,
// only a scene already under way can take longer.
constexpr vewin::DWORD kAbandonWaitMs = 3000;
// How long Release waits for the request to stop: the host is unloading the library. A thread
// still running after it ends by itself (nothing is killed: a kill could leave a key held or a
// lock taken), and keeps the library loaded until then.
constexpr vewin::DWORD kReleaseWaitMs = 1000;
// How long Release then waits for WinHTTP's last notices into the library (see LetTransfersClose).
constexpr int kClosingWaitMs = 1000;

std::mutex g_wordsMutex;  // guards s_veNotAnalysis: a stopped thread may still be finishing

bool Stopped(const NoltStart& start) { return g_stopEpoch.load() != start.stopEpoch; }
bool Abandoned(const NoltStart& start) { return Stopped(start) || g_utterance.load() != start.utterance; }

// The desktop's own windows: Program Manager, and after Win+D often a WorkerW with no title.
bool DesktopInFront() {
    const CString title = CurrentWnd::GetCurrentWndText();
    if (title == u"no" || title == u"Program Manager") return true;
    const std::u16string className = vewin::GetClassNameW(vewin::GetForegroundWindow());
    return className == u"Progman" || className == u"WorkerW";
}

// Only with the desktop itself in front: a search would cover whatever the user is in.
void SearchFromDesktop(const std::string& utf8Text) {
    if (DesktopInFront()) CUtil::SearchInBaidu_utf8(utf8Text);
}

// Aborts the worker's transfer and waits, at most `milliseconds`, for it to end, dispatching
// what the host sends to its thread meanwhile (a host that marshals our callbacks to its
// window with SendMessage would otherwise wait for us while we wait for it).
void WaitForWorker(vewin::DWORD milliseconds) {
    vewin::HANDLE thread;
    {
        std::lock_guard lock(g_threadMutex);
        if (!g_running) return;
        thread = g_thread;
        g_waiting = true;
    }
    vehttp::AbortTransfers();
    vewin::MsgWaitForSingleObject(thread, milliseconds);
    vewin::HANDLE handedOver;
    {
        std::lock_guard lock(g_threadMutex);
        g_waiting = false;
        handedOver = std::exchange(g_handedOver, nullptr);
    }
    if (handedOver) vewin::CloseHandle(handedOver);
}

}  // namespace

void AbandonOnlineRequest() {
    g_utterance.fetch_add(1);
    WaitForWorker(kAbandonWaitMs);
}

void CVeSceneFactory::StartOnlineRequest(bool bSearchFallback, const std::string& utf8Text) {
    // Nothing leaves the machine unless the host named the service and the network is up.
    std::string endpoint = vehttp::Endpoint("online");
    if (endpoint.empty() || !CEnvironmentMonitor::CheckNet(false)) {
        if (bSearchFallback) SearchFromDesktop(utf8Text);
        return;
    }
    auto start = std::make_unique<NoltStart>(NoltStart{bSearchFallback, utf8Text, std::move(endpoint), g_stopEpoch.load(),
                                                       g_utterance.load(), vehttp::TransferEpoch()});
    {
        // Held while the handle is stored, so the thread cannot end before it is there to close.
        std::lock_guard lock(g_threadMutex);
        if (g_running) {
            g_next = std::move(start);
            return;
        }
        if (vewin::HANDLE thread = vewin::CreateThread(&ThreadNoltControl, start.get(), nullptr)) {
            static_cast<void>(start.release());  // the thread owns the record now
            g_running = true;
            g_thread = thread;
            s_hThreadCtrl.store(thread);
            return;
        }
    }
    vediag::Warn(u"the online request could not start a thread");
}

int RunOnlineReply(const std::string& body, const std::string& utf8Text, std::string& utf8Scene,
                   const std::function<bool()>& abandoned, bool* answered) {
    VeJson reply(body.c_str());
    if (body.empty() || !reply.IsValid()) return VESCENE_ONLINE_BAD_REPLY;
    reply.Utf8ToUnicode();
    std::string sceneName = reply.Get("scene");
    if (sceneName.empty()) sceneName = "intentName";  // no key: an empty scene is unhandled

    // The last look before acting: a reply for words the user has moved on from is dropped.
    if (abandoned && abandoned()) return VESCENE_ONLINE_ABANDONED;
    const CString shown = VeChar::VeUtf8_2_CString(utf8Text);
    auto scene = MakeOnlineScene(sceneName);
    if (!scene) {
        VeUI::Log_nolt(shown, LogType_NotCarriedOut);
        return VESCENE_ONLINE_NOT_DONE;
    }
    SceneOutcome outcome;
    {
        const std::function<bool()> none;
        const VeUI::AbandonedWhen guard(abandoned ? abandoned : none);
        outcome = RunScene(*scene, reply, VeChar::VeUtf8_2_UnicodeChar(utf8Text), shown, OutcomeLog::Nolt);
    }
    // A question the user answered after moving on acted on nothing; it is no reply of theirs.
    if (outcome != SceneOutcome::Done && abandoned && abandoned()) return VESCENE_ONLINE_ABANDONED;
    switch (outcome) {
    case SceneOutcome::Done: utf8Scene = VeChar::VeUnicodeChar_2_Utf8(sceneName); return VESCENE_ONLINE_DONE;
    case SceneOutcome::Answered:
        if (answered) *answered = true;
        return VESCENE_ONLINE_NOT_DONE;
    case SceneOutcome::Declined: break;
    }
    return VESCENE_ONLINE_NOT_DONE;
}

vewin::DWORD CVeSceneFactory::ThreadNoltControl(void* param) {
    auto serve = [](const NoltStart& start) {
        const std::string& utf8Text = start.utf8Text;
        const std::string gbkText = VeChar::VeUtf8_2_UnicodeChar(utf8Text);
        auto finish = [&](int status, const std::string& utf8Scene = {}) {
            if (!Stopped(start)) VeUI::OnlineResult(utf8Text, utf8Scene, status);
        };
        auto unhandled = [&] {
            if (start.bSearchFallback && !Abandoned(start)) SearchFromDesktop(utf8Text);
        };
        auto failed = [&](int status) {
            if (Abandoned(start)) return finish(VESCENE_ONLINE_ABANDONED);
            VeUI::Tray(u"在线服务暂时不可用", VeTray_Show);
            unhandled();
            finish(status);
        };

        VeReadNotAnalysisWords();
        bool particle;
        {
            std::lock_guard lock(g_wordsMutex);
            particle = std::find(s_veNotAnalysis.begin(), s_veNotAnalysis.end(), gbkText) != s_veNotAnalysis.end();
        }
        if (particle) {
            VeUI::DebugLog(u"语气词，不调用Nolt语义理解接口", LogType_Failure);
            return unhandled();
        }

        std::string url = weburl::Url(start.endpoint)
                              .Fixed("/semantic/comprehend?text=")
                              .TextUtf8(utf8Text)
                              .Fixed("&deviceno=")
                              .Raw(MacAddress::GetMac(MacForm_Plain), textcodec::UrlPlace::queryValue);
        CVeCurl curl;
        int result;
        {
            const vehttp::PinnedTransferEpoch pin(start.transferEpoch);
            result = curl.OpenUrl_get(url);
        }
        if (result == vehttp::kHttpAborted) return finish(VESCENE_ONLINE_ABANDONED);
        if (result != vehttp::kHttpOk) return failed(-result);
        const std::string body = curl.GetResult_utf8();
        std::string utf8Scene;
        bool answered = false;
        switch (const int status = RunOnlineReply(body, utf8Text, utf8Scene, [&] { return Abandoned(start); }, &answered)) {
        case VESCENE_ONLINE_BAD_REPLY: return failed(status);
        case VESCENE_ONLINE_NOT_DONE:
            if (!answered) unhandled();
            return finish(status);
        default: return finish(status, utf8Scene);
        }
    };

    std::unique_ptr<NoltStart> start(static_cast<NoltStart*>(param));
    vewin::HANDLE handle = nullptr;
    for (;;) {
        try {
            serve(*start);
        } catch (...) {
            // Only memory exhaustion can get here; the thread must still give its handle back.
        }
        std::lock_guard lock(g_threadMutex);
        if (g_next) {
            start = std::move(g_next);
            continue;
        }
        // The thread closes its own handle, here, unless an entry or Release waits on it: then
        // that caller does once its wait is over.
        handle = s_hThreadCtrl.exchange(nullptr);
        if (g_waiting) g_handedOver = std::exchange(handle, nullptr);
        g_running = false;
        g_thread = nullptr;
        break;
    }
    if (handle) vewin::CloseHandle(handle);
    return 0;
}

void CVeSceneFactory::VeReadNotAnalysisWords() {
    std::lock_guard lock(g_wordsMutex);
    if (!s_veNotAnalysis.empty()) return;
    constexpr std::uint64_t kMaxWordListBytes = 64u << 10;  // a list of short words, 300 bytes as shipped
    const auto bytes = vefile::ReadDataFile(vehost::DataPath("notanalysiswords.nolt"), kMaxWordListBytes);
    if (!bytes) return;
    std::string word;
    auto finish = [&] {
        if (!word.empty() && word.back() == '\r') word.pop_back();  // the file may have CR LF line ends
        if (!word.empty()) s_veNotAnalysis.push_back(word);
        word.clear();
    };
    for (char c : *bytes) {
        if (c == '\n')
            finish();
        else
            word += c;
    }
    finish();
}

void CVeSceneFactory::Release() {
    g_stopEpoch.fetch_add(1);
    {
        std::lock_guard lock(g_threadMutex);
        g_next.reset();
    }
    WaitForWorker(kReleaseWaitMs);
    vehttp::LetTransfersClose(kClosingWaitMs);
}
