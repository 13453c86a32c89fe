#pragma once
#include <optional>

#include "scenes/base/VeBasicService.h"

// A song to play, found through the song search, or a playback or volume control.
class VeJsonMusic : public VeBasicService {
public:
    VeJsonMusic() : VeBasicService(LogType_Music) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdSong;
    std::string m_stdArtist;
    std::string m_stdTags;
    std::string m_stdIntent;
    std::string m_stdLang;
    std::string m_stdArea;
    std::string m_stdGenre;
    std::string m_stdBand;
    std::string m_stdSource;
    std::string m_stdInsType;
    std::string m_stdSeries;
    std::string m_stdPercent;

private:
    void Play();
    bool Control();  // false when a volume level is refused
    // The value for the host's SetVolume; none when the instruction sets no volume.
    std::optional<int> VolumeValue() const;

public:
    // The file hash of the song search reply's first hit; empty when there is none or it is
    // no plain hash.
    static std::string SongHashOfReply(const std::string& body);
};
