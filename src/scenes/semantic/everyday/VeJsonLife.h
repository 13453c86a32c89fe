#pragma once
#include "scenes/base/VeBasicService.h"

// Places around a city: bus stops and sights on the map, everything else on the local-life site.
class VeJsonLife : public VeBasicService {
public:
    VeJsonLife() : VeBasicService(LogType_LocalLife) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdRoundService;
    std::string m_stdCity;
    std::string m_stdArea;
};
