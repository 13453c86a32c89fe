// libFuzzer target: any bytes as an engine result must never crash ProcessM or the JSON
// document, nor read past the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/VeJson.h"
#include "platform/TextCodec.h"
#include "platform/sim/SimDesktop.h"
#include "vescene/CVeSceneFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vesim::ScopedSim sim;
    static CVeSceneFactory factory;
    const std::string input(reinterpret_cast<const char*>(data), size);  // NUL-terminated copy
    factory.ProcessM(input.c_str(), size % 2 ? IatAPI_CloudSemantic : IatAPI_Default, false);
    sim->ClearTrace();

    VeJson doc(input.data(), input.size());
    doc.Utf8ToUnicode();
    textcodec::GbkToUtf8(input);
    textcodec::Utf8ToGbk(input);
    return 0;
}
