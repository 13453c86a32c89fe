#pragma once
// What every fuzz target shares: each input runs on a fresh simulated desktop over the shipped
// data, with every endpoint on a closed local port (nothing leaves the machine), and the
// online request's thread is waited for, so an input's effects end with it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "host/DataDirectory.h"
#include "platform/HttpConfig.h"
#include "platform/sim/SimDesktop.h"

namespace vefuzz {

inline vesim::SimState DesktopState() {
    vesim::SimState state;
    state.windows = {{"Program Manager", 1}, {"记事本", 4242}, {"微信", 4343}};
    state.programs = {"微信", "QQ", "记事本"};
    state.uninstallable = {"QQ"};
    state.websites = {{"淘宝", "https://www.taobao.com/"}};
    state.userCommands = {"打开工作区"};
    state.hostCommands = {"打开计算器"};
    return state;
}

inline void UseShippedData() { vehost::SetDataDirectory(VESCENE_FUZZ_DATA_DIR); }

inline bool Setup() {
    UseShippedData();
    for (const char* name : {"online", "songsearch"}) vehttp::SetEndpoint(name, "http://127.0.0.1:9");
    return true;
}

// Runs body(input, sim) with the input as a NUL-terminated string.
template <typename Body>
int Run(const std::uint8_t* data, std::size_t size, Body body) {
    static const bool ready = Setup();
    static_cast<void>(ready);
    vesim::ScopedSim sim(DesktopState());
    const std::string input(reinterpret_cast<const char*>(data), size);
    body(input, *sim);
    sim->WaitForThreads();
    if (!sim->HeldKeys().empty()) std::abort();  // every command lets go of what it pressed
    return 0;
}

// Cuts the text before the first line end off `input` and returns it.
inline std::string TakeLine(std::string& input) {
    const std::size_t end = input.find('\n');
    std::string line = input.substr(0, end);
    input.erase(0, end == std::string::npos ? input.size() : end + 1);
    return line;
}

// A directory of this process's own for the targets that read a file: the input is written
// there and the data directory pointed at it.
inline const std::string& ScratchDir() {
    struct Scratch {
        std::string dir = (std::filesystem::temp_directory_path() / ("vescene-fuzz-" + std::to_string(::getpid()))).string();
        Scratch() { std::filesystem::create_directories(dir); }
        ~Scratch() { std::error_code ignored; std::filesystem::remove_all(dir, ignored); }
    };
    static const Scratch scratch;
    return scratch.dir;
}

inline void WriteScratch(const std::string& name, const std::string& bytes) {
    std::ofstream(ScratchDir() + "/" + name, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace vefuzz
