#pragma once
#include "scenes/base/VeBasicService.h"

// Train tickets between two stations on a day.
class VeJsonTrain : public VeBasicService {
public:
    VeJsonTrain() : VeBasicService(LogType_Train) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdStartCity;
    std::string m_stdStartCode;
    std::string m_stdEndCity;
    std::string m_stdEndCode;
    std::string m_stdDate;
};
