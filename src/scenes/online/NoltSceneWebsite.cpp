#include "scenes/online/NoltSceneWebsite.h"

#include "host/CUtil.h"
#include "host/VeChar.h"
#include "scenes/shared/CSiteSearch.h"

void NoltSceneWebsite::Parse(VeJson& doc) {
    NoltMessageScene::Parse(doc);
    // The service marks the spoken request as the element whose "action" leaf reads "action".
    m_stdAction = doc.GetBrotherLeaf("content^entities^action", "action", "content^entities^value", 2);
    m_stdWebsite = NoltEntity(doc, "website");
}

int NoltSceneWebsite::Execute() {
    if (!m_stdMessage.empty()) return OpenMessageUrl();
    if (!m_stdAction.empty()) {
        CSiteSearch site;
        if (site.ParseSiteText(VeChar::VeUnicodeChar_2_CString(m_stdAction))) {
            site.OpenSite(m_logType);
            return 1;
        }
    }
    if (m_stdWebsite.empty()) return 0;
    CUtil::SearchInBaidu_unicode(m_stdWebsite);
    return 1;
}
