#pragma once
#include "scenes/base/VeBasicService.h"

class TppSceneUrlList : public VeBasicService {
public:
    TppSceneUrlList() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;
};
