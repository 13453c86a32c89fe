#pragma once
// The system command table: a spoken name of a program, Windows tool, desktop or power
// command, carried out. True when the host or the table knew the name.
#include "core/CString.h"
#include "core/HostTypes.h"
#include "platform/WinTypes.h"

bool RunSystemCommand(CString name, LogType& logType, vewin::HICON& icon);
