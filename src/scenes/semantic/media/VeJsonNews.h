#pragma once
#include "scenes/base/VeBasicService.h"

// The home page of the news portal asked for.
class VeJsonNews : public VeBasicService {
public:
    VeJsonNews() : VeBasicService(LogType_News) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMedia;
};
