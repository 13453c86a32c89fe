#pragma once
#include "scenes/base/VeBasicService.h"

// A named hotel or place in a city.
class VeJsonHotelSearch : public VeBasicService {
public:
    VeJsonHotelSearch() : VeBasicService(LogType_Hotel) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdCity;
    std::string m_stdCenter;
    std::string m_stdHotelName;
};
