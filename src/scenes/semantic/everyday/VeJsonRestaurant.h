#pragma once
#include "scenes/base/VeBasicService.h"

// A restaurant or dish on the local-life site of the city.
class VeJsonRestaurant : public VeBasicService {
public:
    VeJsonRestaurant() : VeBasicService(LogType_Hotel) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdDishes;
    std::string m_stdRestaurant;
    std::string m_stdCity;
    std::string m_stdArea;
};
