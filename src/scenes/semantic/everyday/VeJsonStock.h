#pragma once
#include "scenes/base/VeBasicService.h"

// A share's quote page on the mainland or Hong Kong market.
class VeJsonStock : public VeBasicService {
public:
    VeJsonStock() : VeBasicService(LogType_Stock) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdName;
    std::string m_stdCode;
    std::string m_stdMarket;
    std::string m_stdIntent;
};
