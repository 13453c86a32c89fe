#pragma once
#include "scenes/base/VeBasicService.h"

// Chinese text translated into the language asked for.
class VeJsonTranslation : public VeBasicService {
public:
    VeJsonTranslation() : VeBasicService(LogType_Translation) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdSource;
    std::string m_stdTarget;
    std::string m_stdContent;
};
