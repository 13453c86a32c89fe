#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneWeather : public VeBasicService {
public:
    NoltSceneWeather() : VeBasicService(LogType_Weather) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
};
