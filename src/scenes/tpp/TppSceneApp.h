#pragma once
#include "scenes/base/VeBasicService.h"

// Opens, closes, downloads or uninstalls a program; the result may name a command and a page
// for it.
class TppSceneApp : public VeBasicService {
public:
    TppSceneApp() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdAction;
    std::string m_stdAppName;
    std::string m_stdUrl;
    std::string m_stdCmd;
};
