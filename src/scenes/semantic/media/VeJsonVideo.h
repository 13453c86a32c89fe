#pragma once
#include "scenes/base/VeBasicService.h"

// A film or series by name, actor or director, on the video site asked for.
class VeJsonVideo : public VeBasicService {
public:
    VeJsonVideo() : VeBasicService(LogType_Video) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdName;
    std::string m_stdIntent;
    std::string m_stdActor;
    std::string m_stdDirector;
    std::string m_stdPlatform;
    std::string m_stdKeyword;
};
