#pragma once
#include "scenes/base/VeBasicService.h"

// Starts, closes, downloads or uninstalls the application the utterance names.
class VeJsonApp : public VeBasicService {
public:
    VeJsonApp() : VeBasicService(LogType_Application) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdAppName;
    std::string m_stdAction;
};
