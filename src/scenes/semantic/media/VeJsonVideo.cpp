#include "scenes/semantic/media/VeJsonVideo.h"

#include "scenes/semantic/SemanticSlots.h"
#include "scenes/semantic/media/VideoSearch.h"

namespace {

// The engine's intent names differ from the names of the slots that carry the title.
std::string TitleSlotOf(std::string intent) {
    if (intent == "tv_series") return "tvSeries";
    if (intent == "film") return "filmVelmora";
    if (intent == "tv_show") return "tvShow";
    return intent;
}

}  // namespace

void VeJsonVideo::Parse(VeJson& doc) {
    m_stdIntent = TitleSlotOf(doc.Get("semantic^intent"));
    m_stdPlatform = SlotValue(doc, "platform");
    m_stdName = SlotValue(doc, m_stdIntent.c_str());
    m_stdActor = SlotNormValue(doc, "actor");
    for (const std::string& director : {SlotValue(doc, "director"), SlotNormValue(doc, "director"),
                                        SlotNormValue(doc, "artist"), SlotValue(doc, "artist")}) {
        if (director.empty()) continue;
        m_stdDirector = director;
        break;
    }
    m_stdKeyword = m_stdActor;
    AppendWord(m_stdKeyword, m_stdDirector);
    AppendWord(m_stdKeyword, m_stdName);
}

int VeJsonVideo::Execute() { return OpenVideo(m_stdText, m_stdKeyword, m_stdPlatform, m_logType); }
