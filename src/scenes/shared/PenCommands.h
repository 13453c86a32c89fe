#pragma once
// What the offline-recognition scenes share: the laser-control slot, handing a command to
// the local command engine, and opening a named site or Windows function.
#include <string>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "host/VeJson.h"
#include "platform/WinTypes.h"

// The normValue of the "Laser_control" slot, else the whole text; only while `command` is empty.
void ReadLaserControl(const VeJson& doc, const std::string& gbkText, std::string& command);

int RunNormalCommand(const std::string& gbkCommand, LogType& logType, vewin::HICON& icon);
int RunSlideShowCommand(const std::string& gbkCommand, LogType& logType, vewin::HICON& icon);

// The text without a leading "打开" when more follows it.
CString WithoutOpenWord(const std::string& gbkText);

// A 「看…」/「买…」/「听…」 request opens its site; anything else goes to the system table.
bool OpenSiteOrSystemCommand(const CString& text, LogType& logType, vewin::HICON& icon);
