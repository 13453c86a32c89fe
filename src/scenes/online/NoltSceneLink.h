#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneLink : public VeBasicService {
public:
    NoltSceneLink() : VeBasicService(LogType_Application) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdMessage;
    std::string m_stdApp;
    std::string m_stdAction;
};
