#include "scenes/semantic/media/VeJsonNews.h"

#include "host/VeChar.h"
#include "host/VeUI.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/Endpoints.h"

void VeJsonNews::Parse(VeJson& doc) { m_stdMedia = SlotValue(doc, "media"); }

int VeJsonNews::Execute() {
    using namespace endpoints;
    const char* portal = kBaiduNews;
    if (m_stdMedia == GBK("网易"))
        portal = kNeteaseNews;
    else if (m_stdMedia == GBK("腾讯"))
        portal = kTencentNews;
    else if (m_stdMedia == GBK("新浪"))
        portal = kSinaNews;
    else if (m_stdMedia == GBK("搜狐"))
        portal = kSohuNews;
    VeUI::VeShellExecuteA(portal);
    return 1;
}
