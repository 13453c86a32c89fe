#include "scenes/semantic/everyday/VeJsonTranslation.h"

#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/Endpoints.h"

namespace {

// The translation site names a few languages its own way.
std::string SiteLanguage(const std::string& code) {
    if (code == "fr") return "fra";
    if (code == "es") return "spa";
    if (code == "ja") return "jp";
    return code;
}

}  // namespace

void VeJsonTranslation::Parse(VeJson& doc) {
    m_stdContent = SlotValue(doc, "content");
    m_stdSource = SlotValue(doc, "source");
    m_stdTarget = SlotValue(doc, "target");
}

int VeJsonTranslation::Execute() {
    if (m_stdContent.empty())
        VeUI::VeShellExecuteA(endpoints::kBaiduTranslateHome);
    else
        VeUI::VeShellExecuteA(weburl::Url(endpoints::kBaiduTranslate)
                                  .Raw(SiteLanguage(m_stdTarget), textcodec::UrlPlace::pathSegment)
                                  .Fixed("/")
                                  .Text(m_stdContent));
    return 1;
}
