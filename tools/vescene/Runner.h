#pragma once
// Runs recognition results through the library on the simulated desktop and prints what
// it did.
#include <iosfwd>
#include <string>

#include "vescene/CVeSceneFactory.h"

struct RunOptions {
    bool json = false;
};

class Runner {
public:
    Runner(RunOptions options, std::ostream& out, std::ostream& err);

    // One JSON Lines record; false when the line is malformed (the error is printed).
    bool RunLine(const std::string& line, int lineNo);
    // All lines of a stream; false when any line failed.
    bool RunStream(std::istream& in);
    // A spoken text wrapped into an engine result for the entry.
    bool Say(const std::string& entry, const std::string& utf8Text, const std::string& simJson);

private:
    bool Run(int lineNo, const std::string& entry, const std::string& input, int api, bool fallback,
             const std::string& simJson, int kind = 0);
    void Fail(int lineNo, const std::string& message);

    RunOptions m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    CVeSceneFactory m_factory;
};
