#pragma once
// Spoken office commands (GBK) played as keystrokes into the focused window.
#include <string>

bool SendOfficeKeys(const std::string& text);
bool SendWordKeys(const std::string& text);
bool SendPPtKeys(const std::string& text);
bool SendExcelKeys(const std::string& text);

// Slide-show commands spoken in normal mode.
enum OutPptResult : int { OutPpt_Sent = 0, OutPpt_NoSlideShow = 1, OutPpt_NoCommand = 2 };
int SendOutPPtKeys(const std::string& text);
