#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "host/DataDirectory.h"
#include "host/VeDecrypt.h"
#include "platform/HttpConfig.h"

namespace vetest {

namespace {

void WriteTable(const std::string& dir, const std::string& name, const std::string& key,
                const std::vector<std::string>& utf8Lines) {
    std::string plain;
    for (const auto& line : utf8Lines) plain += Gbk(line) + "\r\n";
    std::ofstream(dir + "/" + name, std::ios::binary) << VeDecrypt::Encrypt(plain, key, 7);
}

void WritePairs(const std::string& dir, const std::string& name, const std::string& key,
                const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<std::string> lines;
    for (const auto& [first, second] : pairs) lines.push_back(first + "," + second);
    WriteTable(dir, name, key, lines);
}

std::vector<std::pair<std::string, std::string>> SourcePairs(const std::string& file) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::ifstream in(VESCENE_DATA_SOURCES "/" + file);
    for (std::string line; std::getline(in, line);)
        if (size_t comma = line.find(','); comma != std::string::npos)
            pairs.emplace_back(line.substr(0, comma), line.substr(comma + 1));
    if (pairs.empty()) ADD_FAILURE() << "cannot read " VESCENE_DATA_SOURCES "/" << file;
    return pairs;
}

// The understanding's templates and lists as the build lays them out (cmake/data.cmake).
void CopyUnderstanding() {
    namespace fs = std::filesystem;
    const fs::path from = fs::path(VESCENE_DATA_SOURCES), to = fs::path(DataDir()) / "understanding";
    fs::copy(from / "understanding", to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    for (const auto& [source, target] : {std::pair{"veusic.txt", "lists/songs.txt"}, std::pair{"veovie.txt", "lists/films.txt"},
                                         std::pair{"stations-12306.csv", "lists/stations.csv"}})
        fs::copy_file(from / source, to / target, fs::copy_options::overwrite_existing);
}

class DataEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        WritePairs(DataDir(), "softdownload.grm", "QuorbelFintax", kSoftware);
        WriteTable(DataDir(), "veovie.clx", "DornikHalbFilm", kFilms);
        WriteTable(DataDir(), "veusic.clx", "DornikHalbTune", kSongs);
        WritePairs(DataDir(), "addressabbreviation12306.ve", "BrastelQuimond5729", Stations());
        WritePairs(DataDir(), "chinareaddress.clx", "TrevalMossiDunke", HotelCities());
        WritePairs(DataDir(), "chinareabbreviation.clx", "PelgraVos4821", kAbbreviations);
        // The modal particles: CR LF and LF line ends, a blank line, no line end after the last.
        std::ofstream(DataDir() + "/notanalysiswords.nolt", std::ios::binary) << Gbk(std::string(kParticles));
        CopyUnderstanding();
        vehost::SetDataDirectory(DataDir());
        // No online service unless a test names one; the song search fails at once.
        vehttp::SetEndpoint("songsearch", kNoOnlineService);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(DataDir(), ignored);
    }
};

}  // namespace

const std::vector<std::pair<std::string, std::string>>& Stations() {
    static const auto stations = SourcePairs("stations.csv");
    return stations;
}

const std::vector<std::pair<std::string, std::string>>& HotelCities() {
    static const auto cities = SourcePairs("hotelcities.csv");
    return cities;
}

const std::string& DataDir() {
    static const std::string dir = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("vescene-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                     std::to_string(reinterpret_cast<std::uintptr_t>(&dir) & 0xFFFF));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return dir;
}

std::vector<vesim::TraceEvent> SimTest::EventsOf(const std::string& call) {
    std::vector<vesim::TraceEvent> events;
    for (const auto& e : sim->Trace())
        if (e.call == call) events.push_back(e);
    return events;
}

Lines SimTest::Opened() {
    Lines urls;
    for (const auto& e : EventsOf("VeUI::VeShellExecuteA")) urls.push_back(e.args.at(0).text);
    return urls;
}

Lines Readable(const std::vector<vesim::TraceEvent>& events) {
    Lines out;
    for (const auto& e : events) out.push_back(e.ToReadable());
    return out;
}

}  // namespace vetest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new vetest::DataEnvironment);  // gtest takes ownership
    return RUN_ALL_TESTS();
}
