#pragma once
#include "scenes/base/VeBasicService.h"

// A named shortcut target: a program, site or system command, else a web search.
class VeJsonHotkey : public VeBasicService {
public:
    VeJsonHotkey() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdValue;
    std::string m_stdNormValue;
};
