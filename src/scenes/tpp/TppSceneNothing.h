#pragma once
#include "scenes/base/VeBasicService.h"

// The engine understood nothing: the text may still name a site search or a system command.
class TppSceneNothing : public VeBasicService {
public:
    TppSceneNothing() : VeBasicService(LogType_Base) {}
    void Parse(VeJson&) override {}
    int Execute() override;
};

// A leading "打开" dropped, the text as a 「看…」/「买…」/「听…」 site search or else a system
// command; 1 when carried out.
int RunTppCommandText(const std::string& gbkText, LogType& logType, vewin::HICON& icon);
