#pragma once
// Runs recognition results through the library on the simulated desktop and prints what
// it did.
#include <iosfwd>
#include <memory>
#include <string>

#include <vector>

#include "platform/sim/SimDesktop.h"
#include "vescene/CVeSceneFactory.h"

struct RunOptions {
    bool json = false;
    bool understand = false;  // results without a service are understood offline (every line)
};

class Runner {
public:
    Runner(RunOptions options, std::ostream& out, std::ostream& err);

    // One JSON Lines record; false when the line is malformed (the error is printed).
    bool RunLine(const std::string& line, int lineNo);
    // All lines of a stream, then Finish; false when any line failed.
    bool RunStream(std::istream& in);
    // The calls an online request of a line that did not wait made after the last line ran.
    void Finish();
    // Whether `name` is an entry's name or short name, as `say --entry` and "entry" take them.
    static bool IsEntry(const std::string& name);
    // A spoken text wrapped into an engine result for the entry; understood offline unless
    // `literal`.
    bool Say(const std::string& entry, const std::string& utf8Text, const std::string& simJson, bool literal = false);

private:
    bool Run(int lineNo, const std::string& entry, const std::string& input, int api, bool fallback,
             const std::string& simJson, int kind = 0, bool wait = true, bool understand = false);
    void Fail(int lineNo, const std::string& message);
    // Prints one record's trace, thread by thread, so the same input always prints the same.
    void PrintTrace(const std::vector<vesim::TraceEvent>& trace, unsigned long long clockMs);

    RunOptions m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    CVeSceneFactory m_factory;
    // The desktop of a line that did not wait for its online request: the next line runs on it.
    std::unique_ptr<vesim::ScopedSim> m_pending;
    unsigned long long m_clockMs = 0;  // the pending desktop's clock when its line ended
};
