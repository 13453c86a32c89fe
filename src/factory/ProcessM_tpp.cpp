// The TPP dispatcher: results that already name their action type.
#include "factory/Dispatch.h"
#include "factory/SceneRegistry.h"
#include "host/VeJson.h"
#include "vescene/CVeSceneFactory.h"

VeProcessState CVeSceneFactory::ProcessM_tpp(VeJson& doc, bool bSearchFallback) {
    std::string utf8Text = doc.Get("text");
    if (utf8Text.empty()) {
        ReportFailure(u"__识别出错__");
        return ProcessFailed;
    }
    utf8Text = KeepText(doc, utf8Text);
    m_stdScene = doc.Get("actionType");
    bool handOver = true;
    const VeProcessState state = RouteUtterance(doc, utf8Text, m_stdScene, MakeTppScene, handOver);
    if (state == ProcessUnhandled && handOver) StartOnlineRequest(bSearchFallback, utf8Text);
    return state;
}
