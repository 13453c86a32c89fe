#pragma once
#include "scenes/base/VeBasicService.h"

// A destination on the map, or on the web when the user asked to search.
class VeJsonEngineMapU : public VeBasicService {
public:
    VeJsonEngineMapU() : VeBasicService(LogType_Map) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdPlace;
};
