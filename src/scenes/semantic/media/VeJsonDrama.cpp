#include "scenes/semantic/media/VeJsonDrama.h"

#include "host/VeUI.h"
#include "platform/HttpConfig.h"
#include "scenes/shared/Endpoints.h"

void VeJsonDrama::Parse(VeJson& doc) {
    m_stdUrl = doc.Get("data^result^webUrl");
    if (m_stdUrl.empty()) m_stdUrl = doc.Get("data^result^url");
    m_stdDramaName = doc.Get("semantic^slots^value");
}

int VeJsonDrama::Execute() {
    // The shell runs whatever it is given: only a web address from the result is opened as it is.
    if (vehttp::IsHttpUrl(m_stdUrl))
        VeUI::VeShellExecuteA(m_stdUrl);
    else if (!m_stdDramaName.empty())
        VeUI::VeShellExecuteA(endpoints::kIqiyiSearchHttps + m_stdDramaName);
    else
        VeUI::VeShellExecuteA(endpoints::kIqiyiHomeHttps);
    return 1;
}
