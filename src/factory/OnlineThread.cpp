// The online semantic request: an utterance no local scene carried out goes to the online
// service on one worker thread, and the reply's scene runs there. A newer utterance abandons
// it: the reply is not acted on, and the newer one goes online in its turn.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>

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
#include "platform/HttpConfig.h"
#include "platform/Win32Api.h"
#include "vescene/CVeSceneFactory.h"
#include "vescene/vescene.h"

namespace {

// What the starting dispatcher hands over; the thread owns it, so nothing it reads can change
// under it when the next utterance comes.
struct NoltStart {
    bool bSearchFallback;
    std::string utf8Text;
    unsigned stopEpoch;               // Release's count when the request started
    unsigned long long utterance;     // the entry calls' count when it started
    unsigned long long transferEpoch; // an abort after this aborts the request whenever it starts
};

// Counts the Release calls; a request started before the last one is stopped.
std::atomic<unsigned> g_stopEpoch{0};
// Counts the entry calls; a request started before the last one is abandoned.
std::atomic<unsigned long long> g_utterance{0};

// Whether a worker runs, and the request it is to take next: one that came while an abandoned
// worker was still busy after the wait (its scene, say, waiting for the user).
std::mutex g_threadMutex;
std::condition_variable g_threadEnded;
bool g_running = false;
std::unique_ptr<NoltStart> g_next;

// How long an entry waits for an abandoned request to finish: its transfer is aborted at once,
// only a scene already under way can take longer.
constexpr auto kAbandonWait = std::chrono::seconds(3);

std::mutex g_wordsMutex;  // guards s_veNotAnalysis: a stopped thread may still be finishing

bool Stopped(const NoltStart& start) { return g_stopEpoch.load() != start.stopEpoch; }
bool Abandoned(const NoltStart& start) { return Stopped(start) || g_utterance.load() != start.utterance; }

// Only with the desktop itself in front: a search would cover whatever the user is in.
void SearchFromDesktop(const std::string& utf8Text) {
    const CString title = CurrentWnd::GetCurrentWndText();
    if (title == u"no" || title == u"Program Manager") CUtil::SearchInBaidu_utf8(utf8Text);
}

}  // namespace

void AbandonOnlineRequest() {
    g_utterance.fetch_add(1);
    {
        std::lock_guard lock(g_threadMutex);
        if (!g_running) return;
    }
    vehttp::AbortTransfers();
    std::unique_lock lock(g_threadMutex);
    g_threadEnded.wait_for(lock, kAbandonWait, [] { return !g_running; });
}

void CVeSceneFactory::StartOnlineRequest(bool bSearchFallback, const std::string& utf8Text) {
    // Nothing leaves the machine unless the host named the service and the network is up.
    if (vehttp::Endpoint("online").empty() || !CEnvironmentMonitor::CheckNet(false)) {
        if (bSearchFallback) SearchFromDesktop(utf8Text);
        return;
    }
    auto start = std::make_unique<NoltStart>(
        NoltStart{bSearchFallback, utf8Text, g_stopEpoch.load(), g_utterance.load(), vehttp::TransferEpoch()});
    // Held while the handle is stored, so the thread cannot end before it is there to close.
    std::lock_guard lock(g_threadMutex);
    if (g_running) {
        g_next = std::move(start);
        return;
    }
    vewin::HANDLE thread = vewin::CreateThread(&ThreadNoltControl, start.get(), nullptr);
    if (!thread) {
        vediag::Warn(u"the online request could not start a thread");
        return;
    }
    static_cast<void>(start.release());  // the thread owns the record now
    g_running = true;
    s_hThreadCtrl.store(thread);
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

        std::string url = vehttp::Endpoint("online") + "/semantic/comprehend?text=" + VeChar::Utf8_2_Urlcode(utf8Text) +
                          "&deviceno=" + MacAddress::GetMac(MacForm_Plain);
        CVeCurl curl;
        int result;
        {
            const vehttp::PinnedTransferEpoch pin(start.transferEpoch);
            result = curl.OpenUrl_get(url);
        }
        if (result == vehttp::kHttpAborted) return finish(VESCENE_ONLINE_ABANDONED);
        if (result != vehttp::kHttpOk) return failed(-result);
        const std::string body = curl.GetResult_utf8();
        VeJson reply(body.c_str());
        if (body.empty() || !reply.IsValid()) return failed(VESCENE_ONLINE_BAD_REPLY);
        reply.Utf8ToUnicode();
        std::string sceneName = reply.Get("scene");
        if (sceneName.empty()) sceneName = "intentName";  // no key: an empty scene is unhandled

        // The last look before acting: a reply for words the user has moved on from is dropped.
        if (Abandoned(start)) return finish(VESCENE_ONLINE_ABANDONED);
        const CString shown = VeChar::VeUtf8_2_CString(utf8Text);
        auto scene = MakeOnlineScene(sceneName);
        if (scene && RunScene(*scene, reply, gbkText, shown, OutcomeLog::Nolt) != 0)
            return finish(VESCENE_ONLINE_DONE, VeChar::VeUnicodeChar_2_Utf8(sceneName));
        if (!scene) VeUI::Log_nolt(shown, LogType_NotCarriedOut);
        unhandled();
        finish(VESCENE_ONLINE_NOT_DONE);
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
        // The thread closes its own handle, always here; after a Release it is Release's.
        if (!Stopped(*start)) handle = s_hThreadCtrl.exchange(nullptr);
        g_running = false;
        break;
    }
    g_threadEnded.notify_all();
    if (handle) vewin::CloseHandle(handle);
    return 0;
}

void CVeSceneFactory::VeReadNotAnalysisWords() {
    std::lock_guard lock(g_wordsMutex);
    if (!s_veNotAnalysis.empty()) return;
    std::ifstream file(vehost::DataPath("notanalysiswords.nolt"), std::ios::binary);
    if (!file) return;
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::string word;
    auto finish = [&] {
        if (!word.empty() && word.back() == '\r') word.pop_back();  // the file may have CR LF line ends
        if (!word.empty()) s_veNotAnalysis.push_back(word);
        word.clear();
    };
    for (char c : bytes) {
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
    vehttp::AbortTransfers();
    CUtil::VeTerminateThread(s_hThreadCtrl, 0);
    // A thread that had to be killed never said it ended.
    std::lock_guard lock(g_threadMutex);
    g_running = false;
}
