// Speed of the office command grammars: reading a file of the full 199 records, and the two
// lookups every office voice command makes (equality on the word table, containment on the
// ppt table).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/DataDirectory.h"
#include "keyboard/OfficeGrammar.h"
#include "platform/TextCodec.h"

namespace {

const std::u16string kChars = u"保存文档撤销恢复复制粘贴剪切全选加粗斜体下划线查找替换打印新建幻灯片放映黑白屏结束插入删除行列求和工作表";

// A phrase of 2 to 5 characters, different for every (entry, phrase).
std::string Phrase(int entry, int phrase) {
    std::u16string text;
    unsigned seed = static_cast<unsigned>(entry * 7919 + phrase * 104729 + 17);
    for (int i = 0, n = 2 + entry % 4; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += kChars[(seed >> 16) % kChars.size()];
    }
    return textcodec::Utf16ToGbk(text) + std::to_string(entry);
}

// 199 records: two headers, 100 word entries, 97 ppt entries, three phrases each.
struct GrammarDir {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "vescene-bench-grammar";
    GrammarDir() {
        std::filesystem::create_directories(dir);
        std::string file = "----word----;\r\n";
        for (int i = 0; i < 197; ++i) {
            if (i == 100) file += "----ppt----;\r\n";
            file += Phrase(i, 0) + "," + Phrase(i, 1) + "," + Phrase(i, 2) + ":CTRL+SHIFT+S,ALT+F4;\r\n";
        }
        std::ofstream((dir / "officectrl.grm").string(), std::ios::binary) << file;
        vehost::SetDataDirectory(dir.string());
        ResetOfficeCtrlTables();
        LoadOfficeCtrlGrammar();
    }
    ~GrammarDir() {
        ResetOfficeCtrlTables();
        vehost::SetDataDirectory(VESCENE_DATA);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

void BM_OfficeGrammar_Load199Records(benchmark::State& state) {
    GrammarDir grammar;
    for (auto _ : state) {
        ResetOfficeCtrlTables();
        LoadOfficeCtrlGrammar();
        benchmark::DoNotOptimize(WordTable().size());
    }
    state.counters["entries"] = static_cast<double>(WordTable().size() + PptTable().size());
}
BENCHMARK(BM_OfficeGrammar_Load199Records);

// The recognised text equals a phrase of an entry in the middle of the table.
void BM_OfficeGrammar_EqualityWordTable(benchmark::State& state) {
    GrammarDir grammar;
    const std::string text = Phrase(50, 1);
    for (auto _ : state) benchmark::DoNotOptimize(FindKeysByEquality(WordTable(), text));
}
BENCHMARK(BM_OfficeGrammar_EqualityWordTable);

// A spoken sentence of about 15 characters that holds one ppt phrase.
void BM_OfficeGrammar_ContainmentPptTable(benchmark::State& state) {
    GrammarDir grammar;
    const std::string text = textcodec::Utf8ToGbk("请帮我把这一页") + Phrase(150, 2) + textcodec::Utf8ToGbk("一下好吗");
    for (auto _ : state) benchmark::DoNotOptimize(FindKeysByContainment(PptTable(), text));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_OfficeGrammar_ContainmentPptTable);

}  // namespace
