#pragma once
#include "scenes/base/VeBasicService.h"

// A named web site, a 「看…」/「买…」/「听…」 request or a program name; else a web search.
class VeJsonWebsite : public VeBasicService {
public:
    VeJsonWebsite() : VeBasicService(LogType_Website) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdValue;
    std::string m_stdNormValue;
};
