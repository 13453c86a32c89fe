#pragma once
#include "scenes/base/VeBasicService.h"

class TppSceneDialogueList : public VeBasicService {
public:
    TppSceneDialogueList() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;
};
