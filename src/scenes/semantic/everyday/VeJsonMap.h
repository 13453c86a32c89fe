#pragma once
#include "scenes/base/VeBasicService.h"

// A place on the map; a country is searched on the web.
class VeJsonMap : public VeBasicService {
public:
    VeJsonMap() : VeBasicService(LogType_Map) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdPlace;
    std::string m_stdSlotName;
};
