#include "scenes/semantic/media/VeJsonDrama.h"

#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/shared/Endpoints.h"

void VeJsonDrama::Parse(VeJson& doc) {
    m_stdUrl = doc.Get("data^result^webUrl");
    if (m_stdUrl.empty()) m_stdUrl = doc.Get("data^result^url");
    m_stdDramaName = doc.Get("semantic^slots^value");
}

int VeJsonDrama::Execute() {
    // The shell runs whatever it is given: only a web address from the result is opened.
    if (const auto page = m_stdUrl.empty() ? std::nullopt : weburl::WebPageFromGbk(m_stdUrl))
        VeUI::VeShellExecuteA(*page);
    else if (!m_stdDramaName.empty())
        VeUI::VeShellExecuteA(
            weburl::Url(endpoints::kIqiyiSearchHttps).Raw(m_stdDramaName, textcodec::UrlPlace::pathSegment));
    else
        VeUI::VeShellExecuteA(endpoints::kIqiyiHomeHttps);
    return 1;
}
