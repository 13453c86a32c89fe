// An online reply for an utterance, handed to the online scenes as the online thread hands
// them the body it received. Input: the utterance (UTF-8), a line end, the reply body.
#include "FuzzHarness.h"
#include "factory/Dispatch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vefuzz::Run(data, size, [](std::string input, vesim::SimDesktop&) {
        const std::string utterance = vefuzz::TakeLine(input);
        std::string scene;
        RunOnlineReply(input, utterance, scene);
    });
}
