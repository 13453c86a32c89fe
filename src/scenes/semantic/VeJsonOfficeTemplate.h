#pragma once
#include "scenes/base/VeBasicService.h"

// A Word document made from the template the utterance names.
class VeJsonOfficeTemplate : public VeBasicService {
public:
    VeJsonOfficeTemplate() : VeBasicService(LogType_OfficeTemplate) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdTemplateName;
};
