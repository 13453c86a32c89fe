#pragma once
#include "scenes/base/VeBasicService.h"

// A command the engine left to the desktop: run like an unrecognised text.
class TppSceneOffline : public VeBasicService {
public:
    TppSceneOffline() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdContent;
};
