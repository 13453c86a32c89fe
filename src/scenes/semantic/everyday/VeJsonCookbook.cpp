#include "scenes/semantic/everyday/VeJsonCookbook.h"

#include "host/VeChar.h"
#include "host/VeUI.h"
#include "platform/Url.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/Endpoints.h"

void VeJsonCookbook::Parse(VeJson& doc) {
    m_stdDishName = SlotValue(doc, "dishName");
    m_stdIngredient = SlotValue(doc, "ingredient");
    m_stdKeyword = SlotValue(doc, "keyword");
}

int VeJsonCookbook::Execute() {
    if (!m_stdDishName.empty())
        VeUI::VeShellExecuteA(weburl::Url(endpoints::kMeishijRecipe)
                                  .Raw(VeChar::PinyinTransform(m_stdDishName), textcodec::UrlPlace::pathSegment)
                                  .Fixed(".html"));
    else if (const std::string& word = m_stdIngredient.empty() ? m_stdKeyword : m_stdIngredient; !word.empty())
        VeUI::VeShellExecuteA(weburl::Url(endpoints::kMeishiSearch).Text(word));
    else
        VeUI::VeShellExecuteA(endpoints::kMeishijHome);
    return 1;
}
