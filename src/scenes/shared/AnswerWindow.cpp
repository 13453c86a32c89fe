#include "scenes/shared/AnswerWindow.h"

#include "host/VeChar.h"
#include "host/VeUI.h"

void ShowAnswer(const std::string& gbkQuestion, const std::string& gbkAnswer) {
    VeUI::Tray_2(VeChar::VeUnicodeChar_2_CString(gbkQuestion));
    VeUI::InteractiveSet(VeChar::VeUnicodeChar_2_CString(gbkAnswer), VeInteractive_Answer);
}
