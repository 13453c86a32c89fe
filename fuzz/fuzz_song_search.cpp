// The song search's reply body: whatever it holds, only a plain file hash comes out.
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "FuzzHarness.h"
#include "scenes/semantic/media/VeJsonMusic.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vefuzz::Run(data, size, [](const std::string& input, vesim::SimDesktop&) {
        const std::string hash = VeJsonMusic::SongHashOfReply(input);
        const bool plain = std::all_of(hash.begin(), hash.end(), [](unsigned char c) { return std::isalnum(c); });
        if (!plain || hash.size() > 128) std::abort();
    });
}
