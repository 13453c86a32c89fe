#pragma once
#include "scenes/base/VeBasicService.h"

// A page the engine chose; its result category sets the log line's kind.
class TppSceneUrl : public VeBasicService {
public:
    TppSceneUrl() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdContent;
};
