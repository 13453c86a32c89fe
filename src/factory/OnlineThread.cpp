// The online semantic request: an utterance no local scene carried out goes to the online
// service on one worker thread, and the reply's scene runs there.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>

#include "factory/Dispatch.h"
#include "factory/SceneRegistry.h"
#include "host/CUtil.h"
#include "host/DataDirectory.h"
#include "host/VeChar.h"
#include "host/VeJson.h"
#include "host/VeNet.h"
#include "host/VeUI.h"
#include "platform/DataFile.h"
#include "platform/HttpConfig.h"
#include "platform/Win32Api.h"
#include "vescene/CVeSceneFactory.h"

namespace {

// What the starting dispatcher hands over; the thread owns it, so nothing it reads can change
// under it when the next utterance comes.
struct NoltStart {
    bool bSearchFallback;
    std::string utf8Text;
    unsigned stopEpoch;  // Release's count when the request started
};

// s_hThreadCtrl's value between a dispatcher's claim and its storing the new handle: a thread
// that ends in that window must neither close a handle nor let a second thread start.
char g_starting;
void* const kStarting = &g_starting;

// Counts the Release calls; a request started before the last one is stopped.
std::atomic<unsigned> g_stopEpoch{0};

std::mutex g_wordsMutex;  // guards s_veNotAnalysis: a stopped thread may still be finishing

bool Stopped(const NoltStart& start) { return g_stopEpoch.load() != start.stopEpoch; }

}  // namespace

void CVeSceneFactory::StartOnlineRequest(bool bSearchFallback, const std::string& utf8Text) {
    void* expected = nullptr;
    if (!s_hThreadCtrl.compare_exchange_strong(expected, kStarting)) return;  // one request at a time
    auto start = std::make_unique<NoltStart>(NoltStart{bSearchFallback, utf8Text, g_stopEpoch.load()});
    vewin::HANDLE thread = vewin::CreateThread(&ThreadNoltControl, start.get(), nullptr);
    if (!thread) {
        s_hThreadCtrl.store(nullptr);
        return;
    }
    static_cast<void>(start.release());  // the thread owns the record now
    expected = kStarting;
    // A thread that already finished found only the claim; its handle is then ours to close.
    if (!s_hThreadCtrl.compare_exchange_strong(expected, thread)) vewin::CloseHandle(thread);
}

bool RunOnlineReply(const std::string& body, const std::string& utf8Text) {
    VeJson reply(body.c_str());
    reply.Utf8ToUnicode();
    std::string sceneName = reply.Get("scene");
    if (sceneName.empty()) sceneName = "intentName";  // no key: an empty scene is unhandled

    const CString shown = VeChar::VeUtf8_2_CString(utf8Text);
    auto scene = MakeOnlineScene(sceneName);
    if (!scene) {
        VeUI::Log_nolt(shown, LogType_NotCarriedOut);
        return false;
    }
    return RunScene(*scene, reply, VeChar::VeUtf8_2_UnicodeChar(utf8Text), shown, OutcomeLog::Nolt) != 0;
}

vewin::DWORD CVeSceneFactory::ThreadNoltControl(void* param) {
    const std::unique_ptr<NoltStart> start(static_cast<NoltStart*>(param));
    try {
        [&] {
            const std::string& utf8Text = start->utf8Text;
            const std::string gbkText = VeChar::VeUtf8_2_UnicodeChar(utf8Text);
            bool unhandled = false;

            VeReadNotAnalysisWords();
            bool particle;
            {
                std::lock_guard lock(g_wordsMutex);
                particle = std::find(s_veNotAnalysis.begin(), s_veNotAnalysis.end(), gbkText) != s_veNotAnalysis.end();
            }
            if (particle) {
                VeUI::DebugLog(u"语气词，不调用Nolt语义理解接口", LogType_Failure);
                unhandled = true;
            } else {
                std::string url = vehttp::Endpoint("online") + "/semantic/comprehend?text=" +
                                  VeChar::Utf8_2_Urlcode(utf8Text) + "&deviceno=" + MacAddress::GetMac(MacForm_Plain);
                CVeCurl curl;
                if (curl.OpenUrl_get(url) != 0) return;  // dropped silently
                const std::string body = curl.GetResult_utf8();
                if (body.empty() || Stopped(*start)) return;
                unhandled = !RunOnlineReply(body, utf8Text);
            }

            // Only with the desktop itself in front: a search would cover whatever the user is in.
            if (start->bSearchFallback && unhandled && !Stopped(*start)) {
                const CString title = CurrentWnd::GetCurrentWndText();
                if (title == u"no" || title == u"Program Manager") CUtil::SearchInBaidu_utf8(utf8Text);
            }
        }();
    } catch (...) {
        // Only memory exhaustion can get here; the thread must still give its handle back.
    }
    // After a Release the handle is Release's to close.
    if (!Stopped(*start)) {
        void* handle = s_hThreadCtrl.exchange(nullptr);
        if (handle && handle != kStarting) vewin::CloseHandle(handle);
    }
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
    vehttp::AbortTransfers();
    CUtil::VeTerminateThread(s_hThreadCtrl, 0);
}
