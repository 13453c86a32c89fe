#pragma once
#include "scenes/base/VeBasicService.h"

// Hotels in a city, optionally by name and from a date.
class VeJsonHotel : public VeBasicService {
public:
    VeJsonHotel() : VeBasicService(LogType_Hotel) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdHotelName;
    std::string m_stdCity;
    std::string m_stdDate;
    std::string m_stdIntent;
};
