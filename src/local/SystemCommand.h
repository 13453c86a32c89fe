#pragma once
// The system command table: a spoken name of a program, Windows tool, desktop or power
// command, carried out. True when the host or the table knew the name.
#include "host/CString.h"
#include "host/HostTypes.h"
#include "platform/WinTypes.h"

bool RunSystemCommand(CString name, LogType& logType, vewin::HICON& icon);
