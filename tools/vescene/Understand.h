#pragma once
// vescene understand: what the offline understanding makes of a text, and how its results
// compare on the desktop with the cloud engine's.
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/sim/Trace.h"

// `[--explain] [--sim JSON] TEXT...` or `--eval FILE`; returns the exit code.
int UnderstandCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The calls of a trace that act on the desktop or report an outcome (pages and searches opened,
// keys, programs, volume, requests, the log line), readable; echoes and look-ups are left out.
std::vector<std::string> DesktopActions(const std::vector<vesim::TraceEvent>& trace);
