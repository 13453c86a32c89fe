#pragma once
// The action types whose "content" is the whole command: a host command or a media key.
#include <string>

#include "scenes/base/VeBasicService.h"

class TppSceneContent : public VeBasicService {
public:
    void Parse(VeJson& doc) override;

    std::string m_stdContent;

protected:
    TppSceneContent() : VeBasicService(LogType_Base) {}
};
