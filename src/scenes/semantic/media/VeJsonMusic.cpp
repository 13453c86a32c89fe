#include "scenes/semantic/media/VeJsonMusic.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "host/Environment.h"
#include "host/VeChar.h"
#include "host/VeNet.h"
#include "host/VeUI.h"
#include "keyboard/KeyPlayer.h"
#include "keyboard/VirtualKeys.h"
#include "local/VolumeMessage.h"
#include "platform/HttpConfig.h"
#include "platform/Url.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/Endpoints.h"

namespace {

constexpr vewin::BYTE kNextTrack = 0xB0;
constexpr vewin::BYTE kPreviousTrack = 0xB1;

// The reply comes from the network: only a plain hash may reach the page we open.
bool IsFileHash(std::string_view hash) {
    return !hash.empty() && hash.size() <= 128 &&
           std::all_of(hash.begin(), hash.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
           });
}

// The file hash of the song search's first hit, empty when the search failed or found nothing.
std::string FindSongHash(const std::string& gbkText) {
    // Nothing leaves the machine unless the host named the service and the network is up.
    const std::string endpoint = vehttp::Endpoint("songsearch");
    if (endpoint.empty() || !CEnvironmentMonitor::CheckNet(false)) return {};
    std::string url = weburl::Url(endpoint)
                          .Fixed(endpoints::kSongSearchPath)
                          .Text(gbkText)
                          .Fixed(endpoints::kSongSearchTail);
    CVeCurl curl;
    if (curl.OpenUrl_get(url) != vehttp::kHttpOk) return {};
    return VeJsonMusic::SongHashOfReply(curl.GetResult_utf8());
}

// A decimal volume level in 0..100; none for any other text. A level outside is refused,
// never clamped or wrapped: +-200 are the host's step codes.
std::optional<int> ReadLevel(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int level = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        level = level * 10 + (c - '0');
        if (level > 100) return std::nullopt;
    }
    return level;
}

}  // namespace

std::string VeJsonMusic::SongHashOfReply(const std::string& body) {
    // Parsed as sent: the document reads UTF-8, and the hash is ASCII anyway.
    const VeJson reply(body.data(), body.size());
    std::string hash = reply.Get("data^lists^Grp^FileHash");
    if (hash.empty()) hash = reply.Get("data^lists^FileHash");  // a first hit without alternatives
    return IsFileHash(hash) ? hash : std::string();
}

void VeJsonMusic::Parse(VeJson& doc) {
    m_stdSong = SlotValue(doc, "song");
    m_stdArtist = SlotValue(doc, "artist");
    m_stdIntent = doc.Get("semantic^intent");
    m_stdTags = doc.GetBrotherLeaf("moreResults^semantic^slots^name", "tags", "moreResults^semantic^slots^value", 2);
    if (m_stdTags.empty()) m_stdTags = SlotValue(doc, "tags");
    m_stdLang = SlotValue(doc, "lang");
    m_stdArea = SlotValue(doc, "area");
    m_stdGenre = SlotValue(doc, "genre");
    m_stdBand = SlotValue(doc, "band");
    m_stdSource = SlotValue(doc, "source");
    m_stdInsType = SlotValue(doc, "insType");
    m_stdSeries = SlotValue(doc, "series");
    m_stdPercent = SlotValue(doc, "percent");
}

int VeJsonMusic::Execute() {
    if (m_stdInsType.empty())
        Play();
    else if (!Control()) {
        m_logType = LogType_NotCarriedOut;
        return 0;
    }
    return 1;
}

void VeJsonMusic::Play() {
    const std::string text =
        m_stdArtist + m_stdSong + m_stdTags + m_stdLang + m_stdArea + m_stdGenre + m_stdBand + m_stdSource;
    if (text.empty()) {
        VeUI::VeShellExecuteA(endpoints::kKugouHome);
        return;
    }
    const std::string hash = FindSongHash(text);
    VeUI::VeShellExecuteA(hash.empty() ? weburl::Url(endpoints::kKugouSongSearch).Text(text)
                                       : weburl::Url(endpoints::kKugouSongPage).Encoded(hash));
}

bool VeJsonMusic::Control() {
    if (m_stdInsType == "pause" || m_stdInsType == "replay") TapMediaKey(vk::kPlayPause);
    else if (m_stdInsType == "next") TapMediaKey(kNextTrack);
    else if (m_stdInsType == "past") TapMediaKey(kPreviousTrack);
    else if (const std::optional<int> value = VolumeValue())
        ShowVolumeLevel(CEnvironmentMonitor::SetVolume(*value, false));
    // A level that was given but is none in 0..100.
    else if (m_stdInsType == "volume_select" && !(m_stdSeries.empty() && m_stdPercent.empty()))
        return false;
    return true;
}

std::optional<int> VeJsonMusic::VolumeValue() const {
    if (m_stdInsType == "volume_plus") return 200;
    if (m_stdInsType == "volume_minus") return -200;
    if (m_stdInsType == "volume_max") return 100;
    if (m_stdInsType == "volume_min") return 0;
    if (m_stdInsType != "volume_select") return std::nullopt;
    if (!m_stdSeries.empty()) return ReadLevel(m_stdSeries);
    if (m_stdPercent.empty()) return std::nullopt;
    if (m_stdPercent == GBK("百")) return 100;
    if (m_stdPercent == GBK("零")) return 0;
    return ReadLevel(m_stdPercent);
}
