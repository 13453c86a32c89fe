#pragma once
#include "scenes/base/VeBasicService.h"

// A web search, on the channel the engine named or on Baidu.
class VeJsonBaiduSearch : public VeBasicService {
public:
    VeJsonBaiduSearch() : VeBasicService(LogType_WebSearch) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdKeyword;
    std::string m_stdChannel;
};
