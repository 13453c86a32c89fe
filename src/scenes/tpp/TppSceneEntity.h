#pragma once
#include "scenes/base/VeBasicService.h"

// An encyclopedia entry or a poem: title, author and text in the answer window.
class TppSceneEntity : public VeBasicService {
public:
    TppSceneEntity() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdTitle;
    std::string m_stdAuthor;
    std::string m_stdContent;
};
