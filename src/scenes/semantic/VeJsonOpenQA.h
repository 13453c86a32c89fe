#pragma once
#include "scenes/base/VeBasicService.h"

// An answer to an open question, shown in the host's answer window.
class VeJsonOpenQA : public VeBasicService {
public:
    VeJsonOpenQA() : VeBasicService(LogType_Answer) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdAnswer;
};
