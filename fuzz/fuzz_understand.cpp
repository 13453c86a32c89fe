// The offline understanding. The first byte chooses: even, the rest is an utterance, understood
// with the shipped templates and then run through ProcessM with the understanding on; odd, the
// rest is a service's template file, loaded beside the shipped common file and tried on a few
// utterances and on its own text.
#include <optional>

#include "FuzzHarness.h"
#include "core/JsonQuote.h"
#include "host/VeJson.h"
#include "platform/DataFile.h"
#include "understanding/Understanding.h"
#include "vescene/CVeSceneFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vefuzz::Run(data, size, [](std::string input, vesim::SimDesktop&) {
        const unsigned char mode = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
        if (!input.empty()) input.erase(0, 1);
        const understanding::TodayFn today = [] { return std::string("2026-12-07"); };
        if (mode % 2 == 0) {
            const auto result = understanding::Understand(*understanding::InstalledGrammar(), input, today);
            // What the understanding writes is always a result the library reads.
            if (result && !VeJson(result->json.c_str()).IsValid()) std::abort();
            understanding::SetEnabled(true);
            const std::string doc = "{\"rc\":4,\"text\":" + JsonQuote(input) + "}";
            CVeSceneFactory().ProcessM(doc.c_str(), IatAPI_CloudSemantic, false);
            understanding::SetEnabled(false);
            return;
        }
        // The shipped common file's rules, and one small table for every list a file names: the
        // shipped tables would cost each input a whole load.
        static const std::string common =
            vefile::ReadDataFile(std::string(VESCENE_FUZZ_DATA_DIR) + "/understanding/common.txt", 1 << 20).value_or("");
        const auto grammar = understanding::LoadGrammar([&](const std::string& name) -> std::optional<std::string> {
            if (name == "index.txt") return "fuzz.txt\n";
            if (name == "fuzz.txt") return input;
            if (name == "common.txt") return common;
            return "name,spoken,code,market,norm,province,provinceAddr,city,cityAddr,area,areaAddr,telecode\n"
                   "北京,北京|北京市,600519,sh,北京,北京市,北京,北京市,北京,朝阳区,朝阳区,BJP\n";
        });
        for (const std::string& text : {std::string("北京明天天气怎么样"), std::string("播放周杰伦的稻香"), input.substr(0, 64)}) {
            const auto result = understanding::Understand(*grammar, text, today, true);
            if (result && !VeJson(result->json.c_str()).IsValid()) std::abort();
        }
    });
}
