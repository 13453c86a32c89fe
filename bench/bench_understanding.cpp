// The offline understanding: one utterance understood with everything loaded (the median over
// the dev set's texts, each timed on its own over a few runs), and the first use that reads
// every template and list.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <rapidjson/document.h>
#include <string>
#include <vector>

#include "host/DataDirectory.h"
#include "platform/DataFile.h"
#include "understanding/Understanding.h"

namespace {

// The dev set's texts; a few of the same kind when it is not beside the source tree.
const std::vector<std::string>& DevTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> out;
        std::ifstream in(VESCENE_UNDERSTANDING_DEV);
        for (std::string line; std::getline(in, line);) {
            rapidjson::Document doc;
            doc.Parse(line.c_str(), line.size());
            if (!doc.HasParseError() && doc.IsObject() && doc.HasMember("text") && doc["text"].IsString())
                out.emplace_back(doc["text"].GetString());
        }
        if (out.empty()) out = {"北京明天天气怎么样", "我想听周杰伦的稻香", "后天从南京去武汉的火车", "这首歌真好听"};
        return out;
    }();
    return texts;
}

constexpr int kRunsPerText = 8;  // a clock read costs less than one run

void BM_Understand(benchmark::State& state) {
    vehost::SetDataDirectory(VESCENE_DATA);
    const auto grammar = understanding::InstalledGrammar();
    const understanding::TodayFn today = [] { return std::string("2026-12-07"); };
    const auto& texts = DevTexts();
    std::vector<double> seconds(texts.size());
    for (auto _ : state) {
        for (size_t i = 0; i < texts.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            for (int run = 0; run < kRunsPerText; ++run)
                benchmark::DoNotOptimize(understanding::Understand(*grammar, texts[i], today));
            seconds[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / kRunsPerText;
        }
        std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
        state.SetIterationTime(seconds[seconds.size() / 2]);
    }
    state.counters["utterances"] = static_cast<double>(texts.size());
}
// Each iteration runs every text: a fixed count keeps the run short.
BENCHMARK(BM_Understand)->UseManualTime()->Iterations(40);

void BM_UnderstandingLoad(benchmark::State& state) {
    const std::string directory = std::string(VESCENE_DATA) + "/understanding/";
    const auto read = [&](const std::string& name) {
        return vefile::ReadDataFile(directory + name, 8 << 20);
    };
    size_t services = 0;
    for (auto _ : state) {
        const auto grammar = understanding::LoadGrammar(read);
        services = grammar->services.size();
        benchmark::DoNotOptimize(grammar.get());
    }
    state.counters["services"] = static_cast<double>(services);
}
BENCHMARK(BM_UnderstandingLoad)->Unit(benchmark::kMillisecond);

}  // namespace
