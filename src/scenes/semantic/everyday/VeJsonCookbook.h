#pragma once
#include "scenes/base/VeBasicService.h"

// A recipe by dish name, ingredient or keyword.
class VeJsonCookbook : public VeBasicService {
public:
    VeJsonCookbook() : VeBasicService(LogType_Recipe) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdDishName;
    std::string m_stdIngredient;
    std::string m_stdKeyword;
};
