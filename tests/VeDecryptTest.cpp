// The encrypted data tables: the packed format round-trips, any damage is refused, and the
// table readers split lines as the callers expect and leave their output alone on failure.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "TestSupport.h"
#include "host/VeDecrypt.h"
#include "platform/sim/SimDesktop.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using namespace std::string_literals;
using Map = std::map<std::string, std::string>;
using vetest::Lines;

constexpr size_t kHeaderSize = 20;
constexpr size_t kCheckSize = 8;
const std::string kKey = "QuorbelFintax";
const std::string kLine = "QQ,https://im.qq.com/\r\n";

std::uint64_t ReadLe(const std::string& bytes, size_t pos, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= std::uint64_t(static_cast<unsigned char>(bytes[pos + static_cast<size_t>(i)])) << (8 * i);
    return value;
}

// A file in the shared test data directory, under a name no other test uses, removed afterwards.
struct TableFile {
    explicit TableFile(const std::string& bytes) { std::ofstream(Path(), std::ios::binary) << bytes; }
    ~TableFile() { std::error_code ignored; std::filesystem::remove(Path(), ignored); }
    std::string Path() const { return vetest::DataDir() + "/" + name; }
    inline static std::atomic<int> counter{0};
    const std::string name = "vedecrypt-test-" + std::to_string(counter++) + ".tbl";
};

TEST(VeDecryptFormatTest, RoundTripsAnyBodyBehindAFixedHeader) {
    std::string binary;
    for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
    const struct { std::string plain; std::string key; std::uint64_t salt; } cases[] = {
        {"", kKey, 7}, {"12345678", kKey, 1}, {"123456789", kKey, 2},  // empty, one stream word, just over
        {binary, kKey, 0xFFFFFFFFFFFFFFFFull}, {std::string(200000, 'a'), kKey, 12345},
        {"abc", "", 9}, {"abc", "a\0b"s, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plain.size());
        const std::string packed = VeDecrypt::Encrypt(c.plain, c.key, c.salt);
        ASSERT_EQ(packed.size(), kHeaderSize + c.plain.size() + kCheckSize);
        EXPECT_EQ(packed.substr(0, 8), "VeDt\x01\0\0\0"s);
        EXPECT_EQ(ReadLe(packed, 8, 4), c.plain.size());
        EXPECT_EQ(ReadLe(packed, 12, 8), c.salt);
        EXPECT_EQ(VeDecrypt::Decrypt(packed, c.key), c.plain);
    }
}

TEST(VeDecryptFormatTest, BodyIsNotReadableAndDependsOnKeyAndSalt) {
    const std::string plain = "\xCE\xA2\xD0\xC5,https://pc.weixin.qq.com/\r\n";
    const std::string a = VeDecrypt::Encrypt(plain, kKey, 1);
    auto body = [&](const std::string& packed) { return packed.substr(kHeaderSize, plain.size()); };
    EXPECT_EQ(a.find("weixin"), std::string::npos);
    EXPECT_NE(body(a), body(VeDecrypt::Encrypt(plain, kKey, 2)));
    EXPECT_NE(body(a), body(VeDecrypt::Encrypt(plain, kKey + "x", 1)));
    EXPECT_EQ(VeDecrypt::Encrypt(plain, kKey, 1), a);  // same input, same file
}

TEST(VeDecryptFormatTest, WrongKeysAndEveryDamageAreRefused) {
    const std::string packed = VeDecrypt::Encrypt(kLine, kKey, 7);
    for (const std::string& key : {""s, "quorbelfintax"s, "QuorbelFinta"s, kKey + "\0"s})
        EXPECT_FALSE(VeDecrypt::Decrypt(packed, key).has_value()) << key;
    EXPECT_FALSE(VeDecrypt::Decrypt(VeDecrypt::Encrypt("abc", "", 7), kKey).has_value());

    // Every truncation, two extensions, and a file of zeros.
    std::vector<std::string> damaged = {packed + '\0', packed + packed, std::string(kHeaderSize + kCheckSize, '\0')};
    for (size_t n = 0; n < packed.size(); ++n) damaged.push_back(packed.substr(0, n));
    // A flipped bit in every byte (stepping 7 bits); with an empty body the check still covers the salt.
    for (const std::string& plain : {""s, kLine}) {
        const std::string good = VeDecrypt::Encrypt(plain, kKey, 7);
        for (size_t i = 0; i < good.size() * 8; i += 7) {
            damaged.push_back(good);
            damaged.back()[i / 8] = static_cast<char>(damaged.back()[i / 8] ^ (1 << (i % 8)));
        }
    }
    // Foreign headers: magic, version, reserved bytes, and a length that claims more than the
    // file holds (the reader must not run past it).
    for (const auto& [pos, byte] : std::vector<std::pair<size_t, char>>{
             {0, 'v'}, {3, 'T'}, {4, '\0'}, {4, '\x02'}, {4, '\xFF'}, {6, '\x01'}, {8, '\xFF'}, {11, '\xFF'}}) {
        damaged.push_back(packed);
        damaged.back()[pos] = byte;
    }
    for (size_t i = 0; i < damaged.size(); ++i) EXPECT_FALSE(VeDecrypt::Decrypt(damaged[i], kKey).has_value()) << i;
}

TEST(VeDecryptTableTest, MapSplitsEachLineAtTheFirstSeparatorAndVectorKeepsEveryLine) {
    const struct { std::string plain; char separator; Map expected; } maps[] = {
        {"\r\n\na,1\n\r\n\r\nb,2", ',', {{"a", "1"}, {"b", "2"}}},  // mixed and blank lines, no final end
        {"url,https://x/?a=1,2\r\n", ',', {{"url", "https://x/?a=1,2"}}},
        {"a,\r\n", ',', {{"a", ""}}},
        {"lonely\r\n,1\r\na,1\r\na,2\r\n", ',', {{"a", "1"}}},  // no separator, empty key, duplicate
        {"a,1\r2\r\n", ',', {{"a", "1\r2"}}},
        {"a=1,2\r\nb,3\r\n", '=', {{"a", "1,2"}}},
        {"", ',', {}},
    };
    for (const auto& c : maps) {
        SCOPED_TRACE(c.plain);
        TableFile file(VeDecrypt::Encrypt(c.plain, kKey, 3));
        Map out;
        ASSERT_TRUE(VeDecrypt::EncryptFile_2_map_string(file.name.c_str(), kKey.c_str(), c.separator, out));
        EXPECT_EQ(out, c.expected);
    }
    const struct { std::string plain; Lines expected; } vectors[] = {
        {"\r\n\na,1\r\n\r\n\na,1", {"a,1", "a,1"}},
        {"", {}},
    };
    for (const auto& c : vectors) {
        SCOPED_TRACE(c.plain);
        TableFile file(VeDecrypt::Encrypt(c.plain, kKey, 3));
        Lines out;
        ASSERT_TRUE(VeDecrypt::EncryptFile_2_vector(file.name.c_str(), kKey.c_str(), out));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(VeDecryptTableTest, RefusedFilesAndArgumentsLeaveTheOutputUnchanged) {
    vesim::ScopedSim sim;
    const std::string good = VeDecrypt::Encrypt("a,1\r\nb,2\r\n", kKey, 3);
    TableFile wrongKey(good), truncated(good.substr(0, good.size() - 1)), empty("");
    TableFile emptyKeyed(VeDecrypt::Encrypt("a,1\r\n", "", 3));  // a null key is no empty key
    // A sound table just past the size cap.
    TableFile oversized(VeDecrypt::Encrypt(std::string(VeDecrypt::kMaxTableBytes, 'a'), kKey, 3));
    struct Case { const char* name; const char* key; bool warned; };
    std::vector<Case> cases = {
        {wrongKey.name.c_str(), "DornikHalbFilm", false}, {truncated.name.c_str(), kKey.c_str(), false},
        {empty.name.c_str(), kKey.c_str(), false}, {"vedecrypt-test-no-such-file.tbl", kKey.c_str(), false},
        {".", kKey.c_str(), true}, {"", kKey.c_str(), true}, {nullptr, kKey.c_str(), false},
        {emptyKeyed.name.c_str(), nullptr, false}, {oversized.name.c_str(), kKey.c_str(), true},
    };
#ifndef _WIN32
    // A link to an endless device and a pipe with no writer: refused at once, never read.
    const std::string zero = vetest::DataDir() + "/vedecrypt-test-zero.tbl", pipe = vetest::DataDir() + "/vedecrypt-test-pipe.tbl";
    std::filesystem::remove(zero);
    std::filesystem::remove(pipe);
    std::filesystem::create_symlink("/dev/zero", zero);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    cases.push_back({"vedecrypt-test-zero.tbl", kKey.c_str(), true});
    cases.push_back({"vedecrypt-test-pipe.tbl", kKey.c_str(), true});
#endif
    for (const auto& [name, key, warned] : cases) {
        SCOPED_TRACE(name ? name : "null file");
        sim->ClearTrace();
        Map map = {{"keep", "me"}};
        Lines vector = {"keep"};
        EXPECT_FALSE(VeDecrypt::EncryptFile_2_map_string(name, key, ',', map));
        EXPECT_FALSE(VeDecrypt::EncryptFile_2_vector(name, key, vector));
        EXPECT_EQ(map, (Map{{"keep", "me"}}));
        EXPECT_EQ(vector, Lines{"keep"});
        // One line per refused read, naming the file (apart from the once-per-table notice).
        auto warnings = sim->Trace();
        std::erase_if(warnings, [](const auto& call) {
            return call.ToReadable().find("missing or damaged") != std::string::npos;
        });
        ASSERT_EQ(warnings.size(), warned ? 2u : 0u);
        if (warned) {
            EXPECT_NE(warnings[0].ToReadable().find(name), std::string::npos) << warnings[0].ToReadable();
        }
    }
#ifndef _WIN32
    std::filesystem::remove(zero);
    std::filesystem::remove(pipe);
#endif
}

TEST(VeDecryptTableTest, ReadsTheInstalledSoftwareTable) {
    Map out, expected;
    ASSERT_TRUE(VeDecrypt::EncryptFile_2_map_string("softdownload.grm", kKey.c_str(), ',', out));
    for (const auto& [name, url] : vetest::kSoftware) expected[vetest::Gbk(name)] = url;  // stored as GBK
    EXPECT_EQ(out, expected);
}

}  // namespace
