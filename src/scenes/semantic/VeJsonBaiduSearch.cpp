#include "scenes/semantic/VeJsonBaiduSearch.h"

#include "host/VeChar.h"
#include "host/VeUI.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/Endpoints.h"
#include "scenes/shared/SearchSiteTable.h"

void VeJsonBaiduSearch::Parse(VeJson& doc) {
    if (m_stdService == "websearch") {
        m_stdKeyword = SlotValue(doc, "keyword");
        m_stdChannel = SlotValue(doc, "channel");
        if (m_stdChannel == GBK("优酷") || m_stdChannel == GBK("爱奇艺") || m_stdChannel == "youku" ||
            m_stdChannel == GBK("腾讯视频"))
            m_logType = LogType_Video;
    } else {
        m_stdKeyword = doc.Get("velmoraKeyword");
    }
}

int VeJsonBaiduSearch::Execute() {
    if (m_stdKeyword.empty())
        VeUI::VeShellExecuteA(endpoints::kBaiduHome);
    else
        SearchOnSite(m_stdKeyword, m_stdChannel, GBK("百度"));
    return 1;
}
