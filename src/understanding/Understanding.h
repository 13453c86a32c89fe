#pragma once
// Plain text -> the cloud engine's semantic result, offline: the templates and lists of
// data/understanding/ matched against the whole utterance. Knows no scene; it only writes the
// result the engine would have written, and says nothing when no template covers the text.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "understanding/Grammar.h"
#include "understanding/Spoken.h"

namespace understanding {

struct Result {
    std::string service;  // as the engine names it ("weather", "VELMORA.life" ...)
    std::string intent;
    std::string json;     // the whole result, UTF-8: rc, text, service, semantic
    std::string explain;  // with `explain`: the template and the list entries that matched
};

// The longest utterance considered; a longer text is no command.
constexpr size_t kMaxTextBytes = 512;

// The result for `utf8Text`, or none when no template covers all of it (or the text is empty,
// too long or not UTF-8).
std::optional<Result> Understand(const Grammar& grammar, std::string_view utf8Text, const TodayFn& today,
                                 bool explain = false);

// The installation's templates and lists, read from the data directory's understanding/ on first
// use (and again after the data directory changes); each file that fails is reported once and
// left out.
std::shared_ptr<const Grammar> InstalledGrammar();

// Whether ProcessM understands results without a service. Off until the host turns it on, here
// or with "understanding": true in its configuration file.
void SetEnabled(bool on);
bool Enabled();

}  // namespace understanding
