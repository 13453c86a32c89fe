#pragma once
#include "scenes/base/VeBasicService.h"

// One-way flights between two cities on a day.
class VeJsonFlight : public VeBasicService {
public:
    VeJsonFlight() : VeBasicService(LogType_Flight) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdStartCity;
    std::string m_stdEndCity;
    std::string m_stdDate;
};
