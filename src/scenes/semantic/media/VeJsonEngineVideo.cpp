#include "scenes/semantic/media/VeJsonEngineVideo.h"

#include "scenes/semantic/SemanticSlots.h"
#include "scenes/semantic/media/VideoSearch.h"

void VeJsonEngineVideo::Parse(VeJson& doc) {
    m_stdName = SlotValue(doc, "name");
    m_stdArtist = SlotValue(doc, "artist");
    m_stdTag = SlotValue(doc, "tag");
    if (m_stdName.empty() && m_stdArtist.empty() && m_stdTag.empty())
        m_stdQuery = doc.GetBrotherLeaf("semantic^intent", "QUERY", "semantic^slots^value", 3);
    m_stdKeyword = m_stdName;
    AppendWord(m_stdKeyword, m_stdArtist);
    AppendWord(m_stdKeyword, m_stdTag);
    if (m_stdKeyword.empty()) m_stdKeyword = m_stdQuery.empty() ? m_stdText : m_stdQuery;
}

int VeJsonEngineVideo::Execute() { return OpenVideo(m_stdText, m_stdKeyword, m_stdPlatform, m_logType); }
