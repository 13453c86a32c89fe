#pragma once
#include "scenes/base/VeBasicService.h"

// The weather of the place asked for, else of where the computer is.
class VeJsonWeather : public VeBasicService {
public:
    VeJsonWeather() : VeBasicService(LogType_Weather) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdLocation;
};
