#pragma once
#include <string>

#include "scenes/online/NoltMessageScene.h"

class NoltSceneChat : public NoltMessageScene {
public:
    NoltSceneChat() : NoltMessageScene(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;
};

// The answer with every escaped line break (a backslash and 'n') as a real one. GBK: a
// backslash that is the second byte of a character is no escape.
std::string WithLineBreaks(const std::string& gbkAnswer);
