#pragma once
#include "scenes/base/VeBasicService.h"

// A drama: the engine's own page for it, else the video site's search.
class VeJsonDrama : public VeBasicService {
public:
    VeJsonDrama() : VeBasicService(LogType_Video) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdUrl;
    std::string m_stdDramaName;
};
