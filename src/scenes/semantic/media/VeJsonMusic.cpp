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
std::string FindSongHash(const std::string& urlcodedText) {
    std::string url = vehttp::Endpoint("songsearch") + endpoints::kSongSearchPath + urlcodedText +
                      endpoints::kSongSearchTail;
    CVeCurl curl;
    if (curl.OpenUrl_get(url) != vehttp::kHttpOk) return {};
    return VeJsonMusic::SongHashOfReply(curl.GetResult_utf8());
}

// A decimal volume level; none for any other text. Kept within 0..100 so that a spoken level
// can never read as the step codes (+-200) and no length of digits can overflow.
std::optional<int> ReadLevel(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    int level = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        level = std::min(100, level * 10 + (c - '0'));
    }
    return negative ? 0 : level;
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
    else
        Control();
    return 1;
}

void VeJsonMusic::Play() {
    const std::string text =
        m_stdArtist + m_stdSong + m_stdTags + m_stdLang + m_stdArea + m_stdGenre + m_stdBand + m_stdSource;
    if (text.empty()) {
        VeUI::VeShellExecuteA(endpoints::kKugouHome);
        return;
    }
    const std::string urlcoded = VeChar::UnicodeChar_2_Urlcode(text);
    const std::string hash = FindSongHash(urlcoded);
    VeUI::VeShellExecuteA(hash.empty() ? endpoints::kKugouSongSearch + urlcoded : endpoints::kKugouSongPage + hash);
}

void VeJsonMusic::Control() {
    if (m_stdInsType == "pause" || m_stdInsType == "replay") return TapMediaKey(vk::kPlayPause);
    if (m_stdInsType == "next") return TapMediaKey(kNextTrack);
    if (m_stdInsType == "past") return TapMediaKey(kPreviousTrack);
    if (const std::optional<int> value = VolumeValue())
        ShowVolumeLevel(CEnvironmentMonitor::SetVolume(*value, false));
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
