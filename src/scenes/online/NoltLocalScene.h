#pragma once
// The replies that carry nothing to do ("nothing", "rc_4"): the utterance still gets the site
// parser and the system command table before the thread gives up on it.
#include "scenes/base/VeBasicService.h"

class NoltLocalScene : public VeBasicService {
public:
    void Parse(VeJson&) override {}
    int Execute() override;

protected:
    NoltLocalScene() : VeBasicService(LogType_NotCarriedOut) {}
};
