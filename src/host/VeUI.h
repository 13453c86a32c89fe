#pragma once
// The host's user interface: floating result window, answer text, log window, main window.
#include <functional>
#include <string>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "platform/WinTypes.h"

class CWnd;

namespace VeUI {

void Tray(const char16_t* text, VeTrayParams params);
void Tray_2(const char16_t* text);
void InteractiveSet(const char16_t* text, VeInteractiveParams params);
void Log(const char16_t* text, LogType type);
void Log_2(const CString& text, LogType type);
void Log_HICON(const CString& text, vewin::HICON icon);
void Log_nolt(const CString& text, LogType type);
void DebugLog(const char16_t* text, LogType type);
void MainMenu(MainMenuType page);
bool YesOrNot(const char16_t* question, CWnd* parent);
void VeShellExecuteA(const char* target);  // GBK text
// What became of an online request: a VESCENE_ONLINE_* status, the scene name when carried out.
void OnlineResult(const std::string& utf8Text, const std::string& utf8Scene, int status);
inline void VeShellExecuteA(const std::string& target) { VeShellExecuteA(target.c_str()); }

// While one lives on a thread, the scene running there serves a request that may be abandoned
// (Release, a newer utterance) while it waits in a question: an answer that comes after that
// counts as no, so nothing acts late.
class AbandonedWhen {
public:
    explicit AbandonedWhen(const std::function<bool()>& abandoned);
    ~AbandonedWhen();
    AbandonedWhen(const AbandonedWhen&) = delete;
    AbandonedWhen& operator=(const AbandonedWhen&) = delete;

private:
    const std::function<bool()>* m_previous;
};

// The user is told, in the result window, why the utterance is not carried out (nothing to
// close, a "no" to the question; `why` may be null when the question said it all): the scene's
// run ends there, with no online service and no search.
void TellNotCarriedOut(const char16_t* why);
// Whether the scene running on this thread told the user so; clears it.
bool TakeToldNotCarriedOut();

}  // namespace VeUI
