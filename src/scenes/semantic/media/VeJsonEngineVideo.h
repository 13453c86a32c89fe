#pragma once
#include "scenes/base/VeBasicService.h"

// A video by name, artist or tag; the utterance itself when the engine found none.
class VeJsonEngineVideo : public VeBasicService {
public:
    VeJsonEngineVideo() : VeBasicService(LogType_Video) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdName;
    std::string m_stdArtist;
    std::string m_stdPlatform;
    std::string m_stdTag;
    std::string m_stdQuery;
    std::string m_stdKeyword;
};
