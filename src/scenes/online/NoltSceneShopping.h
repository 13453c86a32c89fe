#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneShopping : public VeBasicService {
public:
    NoltSceneShopping() : VeBasicService(LogType_Shopping) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
};
