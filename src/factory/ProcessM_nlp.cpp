// The semantic dispatcher: results of the cloud engine's semantic service.
#include "factory/Dispatch.h"
#include "factory/RewriteRules.h"
#include "factory/SceneRegistry.h"
#include "host/Environment.h"
#include "host/VeChar.h"
#include "host/CUtil.h"
#include "host/VeJson.h"
#include "understanding/Understanding.h"
#include "vescene/CVeSceneFactory.h"

namespace {
constexpr int kMinimumScore = 45;

// The text understood offline becomes the engine's result; false leaves `doc` as it was.
bool UnderstandText(const std::string& utf8Text, VeJson& doc) {
    if (!understanding::Enabled()) return false;
    const auto grammar = understanding::InstalledGrammar();
    const auto result = understanding::Understand(*grammar, utf8Text, [] { return TyTime::GetTime_2020_01_01(); });
    if (!result) return false;
    VeJson understood(result->json.c_str(), result->json.size());
    if (!understood.IsValid()) return false;
    understood.Utf8ToUnicode();
    doc = understood;
    return true;
}
}  // namespace

VeProcessState CVeSceneFactory::ProcessM_nlp(VeJson& doc, bool bSearchFallback) {
    std::string utf8Text = doc.Get("text");
    if (utf8Text.empty()) {
        // Nothing recognised online: fall back to the offline grammar result, unless the
        // network was up and the score says the speech itself was poor.
        if (CEnvironmentMonitor::CheckNet(false) && ScoreOf(doc.Get("sc")) < kMinimumScore) {
            ReportFailure(u"__语音识别失败__");
            return ProcessFailed;
        }
        utf8Text = GetOffAsrResult(doc);
        if (utf8Text.empty()) {
            ReportFailure(u"__识别出错__");
            return ProcessFailed;
        }
        utf8Text = KeepText(doc, utf8Text);
        m_stdScene = "offasr";
    } else {
        utf8Text = KeepText(doc, utf8Text);
        std::string rc = doc.Get("rc");
        m_stdScene = doc.Get("service");
        if ((rc == "4" || m_stdScene.empty()) && UnderstandText(utf8Text, doc)) {
            // Dispatched exactly as the engine's own result would be.
            rc = "0";
            m_stdScene = doc.Get("service");
        }
        if (m_stdScene == "VELMORA.life" || m_stdScene == "VELMORA.shopping") m_stdScene = doc.Get("semantic^intent");
        if (rc == "4" || m_stdScene.empty()) {
            std::string gbkText = VeChar::VeUtf8_2_UnicodeChar(utf8Text);
            bool rewritten = RewriteSoftware(gbkText, doc) || RewriteTrainTicket(gbkText, doc) ||
                             RewriteWebSearch(gbkText, doc) || RewriteFilmTitle(gbkText, doc) ||
                             RewriteSongTitle(gbkText, doc);
            m_stdScene = rewritten ? doc.Get("service") : "rc=4";
        }
    }
    bool handOver = true;
    const VeProcessState state = RouteUtterance(doc, utf8Text, m_stdScene, MakeSemanticScene, handOver);
    if (state == ProcessUnhandled && handOver) StartOnlineRequest(bSearchFallback, utf8Text);
    return state;
}
