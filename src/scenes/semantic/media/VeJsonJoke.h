#pragma once
#include <vector>

#include "scenes/base/VeBasicService.h"

// Jokes in the answer window, each with its category when every joke has one.
class VeJsonJoke : public VeBasicService {
public:
    VeJsonJoke() : VeBasicService(LogType_Joke) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::vector<std::string> m_vecContents;
    std::vector<std::string> m_vecCategories;
};
