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

    // Number readers over GBK text.
    static int CountInText(std::string text);
    enum NumberKind : int { NoNumber = 0, AsciiDigits = 1, ChineseNumeral = 2 };
    static int ExtractNumber(std::string text, std::string& number);
    static int DigitsToInt(std::string digits);
    static std::string ChineseNumeralToDigits(std::string numeral);
    static int ParseChineseNumeral(const unsigned* codes, int index, int count, int& value, int& unit, int& scale);
    static std::string IntToText(int value);

private:
    // Alt held while Tab is pressed `spokenCount` times (2 when none was spoken).
    static void SwitchWindows(int spokenCount);

    std::vector<std::string> brightUpPhrases;
    std::vector<std::string> brightDownPhrases;
};
