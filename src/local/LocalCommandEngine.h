#pragma once
// Fixed spoken commands carried out without any semantic service. One engine serves one
// command and is then destroyed.
#include <string>
#include <vector>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "platform/WinTypes.h"

class LocalCommandEngine {
public:
    // Slide-show control (GBK text); sets logType to 34 when it did something.
    bool ExecuteSlideShowCommand(const std::string& text, LogType& logType, vewin::HICON& icon);
    // Normal pen-mode control.
    bool ExecuteNormalCommand(CString text, LogType& logType, vewin::HICON& icon);

    bool AdjustVolume(const CString& text);
    bool AdjustBrightness(std::string text);  // GBK

    // The count spoken in a command (GBK): the value of its first number (see
    // local/ChineseNumerals.h), 0 when it has none.
    static int CountInText(std::string text);

private:
    // Alt held while Tab is pressed `spokenCount` times (2 when none was spoken).
    static void SwitchWindows(int spokenCount);

    std::vector<std::string> brightUpPhrases;
    std::vector<std::string> brightDownPhrases;
};
