#pragma once
#include "scenes/base/VeBasicService.h"

// A page whose URL gets the user's city (or its station code or short name) in the middle.
class TppSceneFillUrl : public VeBasicService {
public:
    TppSceneFillUrl() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdBeforeUrl;
    std::string m_stdFillName;
    std::string m_stdCity;
    std::string m_stdAfterUrl;
};
