// Writes the fuzzers' dictionaries and seed corpora from this tree, so that they follow the
// sources: the string literals the scenes, dispatchers and local commands compare with (the
// phrases, services, slot and key names), the data tables' names, and every engine result of
// examples/.
//   make-inputs SOURCE_DIR DATA_DIR OUT_DIR
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Spill(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A libFuzzer dictionary entry: printable ASCII as it stands, quotes, backslashes and every
// other byte escaped (libFuzzer reads nothing else).
std::string DictEntry(const std::string& word) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (unsigned char c : word) {
        if (c == '"' || c == '\\') out += '\\', out += static_cast<char>(c);
        else if (c < 0x20 || c >= 0x7F) out += "\\x", out += kHex[c >> 4], out += kHex[c & 15];
        else out += static_cast<char>(c);
    }
    return out + "\"";
}

void WriteDict(const fs::path& path, const std::set<std::string>& words) {
    std::string text;
    for (const auto& word : words)
        if (!word.empty() && word.size() <= 64) text += DictEntry(word) + "\n";
    Spill(path, text);
}

// The string literals of the sources under `dir`, split at '^' (the document paths).
void AddLiterals(const fs::path& dir, std::set<std::string>& words) {
    static const std::regex literal(R"re((?:u8|u)?"((?:[^"\\\n]|\\.)*)")re");
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        for (const std::string& line : Lines(Slurp(entry.path()))) {
            if (line.rfind("#include", 0) == 0) continue;
            for (std::sregex_iterator it(line.begin(), line.end(), literal), end; it != end; ++it) {
                std::string text = (*it)[1];
                if (text.find('\\') != std::string::npos) continue;
                std::istringstream parts(text);
                for (std::string part; std::getline(parts, part, '^');) {
                    words.insert(part);
                    const bool name = !part.empty() && part.find_first_not_of(
                        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.=") == std::string::npos;
                    if (name) words.insert("\"" + part + "\":");
                }
            }
        }
    }
}

// The first column of a data table (the names the user says).
void AddFirstColumn(const fs::path& csv, std::set<std::string>& words) {
    for (const std::string& line : Lines(Slurp(csv))) words.insert(line.substr(0, line.find(',')));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make-inputs SOURCE_DIR DATA_DIR OUT_DIR\n";
        return 2;
    }
    const fs::path src = argv[1], data = argv[2], out = argv[3];

    std::set<std::string> scenes = {"{", "}", "[", "]", ":", ",", "\"", "\"text\":", "\"rc\":4", "\"sc\":\"80\"",
                                    "\"ws\":[{\"cw\":[{\"w\":\"", "\"fromType\":\"tpp\"", "\"actionType\":"};
    for (const char* dir : {"src/factory", "src/scenes", "src/local", "src/keyboard", "src/host"})
        AddLiterals(src / dir, scenes);
    for (const char* csv : {"softdownload.csv", "stations.csv", "hotelcities.csv", "cityabbreviations.csv"})
        AddFirstColumn(src / "data" / csv, scenes);
    for (const std::string& line : Lines(Slurp(src / "data/nolt-rules.txt"))) {
        if (line.empty() || line[0] == '#') continue;
        std::string pattern = line.substr(0, line.find(" |"));
        pattern.erase(std::remove(pattern.begin(), pattern.end(), '*'), pattern.end());
        scenes.insert(pattern);
    }
    WriteDict(out / "scenes.dict", scenes);

    std::set<std::string> grammar = {";", ":", ",", "+", "\r\n", "----office----", "----word----", "----ppt----",
                                     "----excel----", "word,ppt", "office"};
    AddLiterals(src / "src/keyboard", grammar);
    WriteDict(out / "grammar.dict", grammar);
    WriteDict(out / "host_config.dict", {"{", "}", ":", ",", "\"websites\"", "\"commands\"", "\"files\"",
                                         "\"templates\"", "\xEF\xBB\xBF", "\\u0000", "\\ud800"});
    WriteDict(out / "table.dict", {std::string("VeDt\x01\0\0\0", 8), "\r\n", ","});

    // Seeds: every engine result of examples/ for the entries, the shipped files for the readers.
    std::vector<std::string> results;
    for (const char* file : {"scenes.jsonl", "semantic-results.jsonl", "tpp-results.jsonl"}) {
        for (const std::string& line : Lines(Slurp(src / "examples" / file))) {
            rapidjson::Document doc;
            if (line.empty() || line[0] == '#' || doc.Parse(line.c_str()).HasParseError() || !doc.IsObject()) continue;
            const rapidjson::Value* input = doc.HasMember("input") ? &doc["input"] : &doc;
            if (input->IsString()) {
                results.emplace_back(input->GetString(), input->GetStringLength());
                continue;
            }
            rapidjson::StringBuffer buffer;
            rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
            input->Accept(writer);
            results.emplace_back(buffer.GetString(), buffer.GetSize());
        }
    }
    for (size_t i = 0; i < results.size(); ++i) {
        Spill(out / "seeds/entry" / ("example-" + std::to_string(i)), results[i]);
        // For the C API: create, ProcessM(handle, result, 1, 0), read the scene and text back.
        const std::string text = results[i].substr(0, 254);
        Spill(out / "seeds/capi" / ("example-" + std::to_string(i)),
              std::string("\x00\x02\x01", 3) + static_cast<char>(text.size()) + text + std::string("\x01\x00\x07\x01", 4));
    }
    Spill(out / "seeds/office_grammar/officectrl.grm", Slurp(data / "officectrl.grm"));
    Spill(out / "seeds/office_grammar/officectrloutppt.grm", Slurp(data / "officectrloutppt.grm"));
    for (const auto& entry : fs::directory_iterator(data)) {
        const auto ext = entry.path().extension();
        if (ext == ".clx" || ext == ".ve" || ext == ".grm")
            Spill(out / "seeds/table" / entry.path().filename(), std::string(1, '\0') + Slurp(entry.path()));
    }
    Spill(out / "seeds/table/plain.csv", "\x01" + Slurp(src / "data/softdownload.csv"));
    Spill(out / "seeds/host_config/example", "公司内网\n" + Slurp(src / "examples/VeScene.host.json"));
    // The understanding: utterances (even first byte) and the shipped template files (odd).
    for (const char* text : {"北京明天天气怎么样", "我想听周杰伦的稻香", "后天从南京去武汉的火车", "中通的单号七五三一二零零八六六四五",
                             "把我爱你翻译成英语", "下周五从杭州飞乌鲁木齐的机票", "这首歌真好听"})
        Spill(out / "seeds/understand" / ("text-" + std::to_string(std::hash<std::string>()(text))), std::string(1, '\0') + text);
    for (const auto& entry : fs::directory_iterator(src / "data/understanding"))
        if (entry.path().extension() == ".txt")
            Spill(out / "seeds/understand" / entry.path().filename(), "\x01" + Slurp(entry.path()));
    WriteDict(out / "understand.dict", {"service ", "intent ", "slot ", "sentence ", "rule ", "list ", " = ", "|", "(", ")",
                                         "[", "]", "{", "}", "<", ">", "{place}", "{date}", "{digits}", "{number}", "<prefix>",
                                         "wildcard", "file=lists/places.csv key=name", "if=", "unless=", "\n", "天气", "明天",
                                         "下周五", "十二月二十号", "北京", "播放"});
    return 0;
}
