#pragma once
// vescene understand: what the offline understanding makes of a text, and how its results
// compare on the desktop with the cloud engine's.
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/sim/Trace.h"

// `[--explain] [--sim JSON] TEXT...` or `--eval FILE`; returns the exit code (2: bad arguments
// or file, 1: nothing understood or a negative case understood).
int UnderstandCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The eval of JSON lines {"text", "engine"[, "sim", "id"]}: each case run through ProcessM with
// the engine's result and with its text alone, understood; one report per mismatch on `out`.
// A negative is a case the engine did not understand (rc other than 0 or no service).
struct EvalCount {
    int cases = 0, matches = 0, negatives = 0, negativesUnderstood = 0;
    bool ok = true;  // false for a line that is no case (reported on `err`)
};
EvalCount EvalCases(std::istream& in, std::ostream& out, std::ostream& err);

// The calls of a trace that act on the desktop or report an outcome (pages and searches opened,
// keys, programs, volume, requests, the log line), readable; echoes and look-ups are left out.
std::vector<std::string> DesktopActions(const std::vector<vesim::TraceEvent>& trace);
