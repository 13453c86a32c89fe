#pragma once
#include <vector>

#include "scenes/base/VeBasicService.h"

// Poems in the answer window: title, dynasty and author, content.
class VeJsonPoetry : public VeBasicService {
public:
    VeJsonPoetry() : VeBasicService(LogType_Poetry) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdTitleLine;
    std::string m_stdAuthorLine;
    std::string m_stdNameLine;
    std::string m_stdContentLine;
    std::vector<std::string> m_vecTitles;
    std::vector<std::string> m_vecDynasties;
    std::vector<std::string> m_vecAuthors;
    std::vector<std::string> m_vecPoemContents;
};
