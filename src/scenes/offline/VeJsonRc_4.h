#pragma once
#include "scenes/base/VeBasicService.h"

// An utterance the semantic engine had no meaning for: a site request or a Windows function.
class VeJsonRc_4 : public VeBasicService {
public:
    VeJsonRc_4() : VeBasicService(LogType_Base) {}
    void Parse(VeJson&) override {}
    int Execute() override;
};
