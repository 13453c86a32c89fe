// The encrypted data tables: the packed format round-trips, any damage is refused, and the
// table readers split lines as the callers expect and leave their output alone on failure.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>

#include "TestSupport.h"
#include "host/VeDecrypt.h"

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
    const struct { const char* name; std::string plain; std::string key; std::uint64_t salt; } cases[] = {
        {"empty body", "", kKey, 7},          {"one byte", "x", kKey, 0},
        {"one stream word", "12345678", kKey, 1}, {"just over a word", "123456789", kKey, 2},
        {"GBK lines", "\xCE\xA2\xD0\xC5,https://pc.weixin.qq.com/\r\n" + kLine, kKey, 7},
        {"every byte value", binary, kKey, 0xFFFFFFFFFFFFFFFFull}, {"large", std::string(200000, 'a'), kKey, 12345},
        {"empty key", "abc", "", 9},          {"GBK key", "abc", "\xC4\xE3\xBA\xC3", 9},
        {"key with NUL", "abc", "a\0b"s, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
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
    EXPECT_NE(body(a), plain);
    EXPECT_NE(body(a), body(VeDecrypt::Encrypt(plain, kKey, 2)));
    EXPECT_NE(body(a), body(VeDecrypt::Encrypt(plain, kKey + "x", 1)));
    EXPECT_EQ(VeDecrypt::Encrypt(plain, kKey, 1), a);  // same input, same file
}

TEST(VeDecryptFormatTest, WrongKeysAndEveryDamageAreRefused) {
    const std::string packed = VeDecrypt::Encrypt(kLine, kKey, 7);
    for (const std::string& key : {""s, "quorbelfintax"s, "QuorbelFinta"s, kKey + "x", kKey + "\0"s, "DornikHalbFilm"s})
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

TEST(VeDecryptTableTest, MapSplitsEachLineAtTheFirstSeparator) {
    const struct { const char* name; std::string plain; char separator; Map expected; } cases[] = {
        {"CR LF lines", "a,1\r\nb,2\r\n", ',', {{"a", "1"}, {"b", "2"}}},
        {"no final line end", "a,1\nb,2", ',', {{"a", "1"}, {"b", "2"}}},
        {"mixed line ends and blank lines", "\r\n\na,1\n\r\n\r\nb,2\r\n\n", ',', {{"a", "1"}, {"b", "2"}}},
        {"split at the first comma", "url,https://x/?a=1,2\r\n", ',', {{"url", "https://x/?a=1,2"}}},
        {"empty value kept", "a,\r\n", ',', {{"a", ""}}},
        {"no comma or empty key skipped", "lonely\r\n,1\r\na,1\r\n", ',', {{"a", "1"}}},
        {"duplicate keeps first", "a,1\r\na,2\r\n", ',', {{"a", "1"}}},
        {"CR inside a line kept", "a,1\r2\r\n", ',', {{"a", "1\r2"}}},
        {"GBK text", "\xCE\xA2\xD0\xC5,https://pc.weixin.qq.com/\r\n", ',',
         {{"\xCE\xA2\xD0\xC5", "https://pc.weixin.qq.com/"}}},
        {"other separator", "a=1,2\r\nb,3\r\n", '=', {{"a", "1,2"}}},
        {"only blank lines", "\r\n\n\r\n", ',', {}},
        {"empty body", "", ',', {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TableFile file(VeDecrypt::Encrypt(c.plain, kKey, 3));
        Map out;
        ASSERT_TRUE(VeDecrypt::EncryptFile_2_map_string(file.name.c_str(), kKey.c_str(), c.separator, out));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(VeDecryptTableTest, VectorHoldsEveryNonEmptyLine) {
    const struct { std::string plain; Lines expected; } cases[] = {
        {"\xB5\xBE\xCF\xE3\r\n\xBA\xF3\xC0\xB4\r\n", {"\xB5\xBE\xCF\xE3", "\xBA\xF3\xC0\xB4"}},
        {"a\nb", {"a", "b"}},
        {"\r\n\na\r\n\r\n\nb\n", {"a", "b"}},
        {"a,1\r\na,1\r\n", {"a,1", "a,1"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plain);
        TableFile file(VeDecrypt::Encrypt(c.plain, kKey, 3));
        Lines out;
        ASSERT_TRUE(VeDecrypt::EncryptFile_2_vector(file.name.c_str(), kKey.c_str(), out));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(VeDecryptTableTest, RefusedFilesAndArgumentsLeaveTheOutputUnchanged) {
    auto expectRefused = [](const char* file, const char* key) {
        Map map = {{"keep", "me"}};
        Lines vector = {"keep"};
        EXPECT_FALSE(VeDecrypt::EncryptFile_2_map_string(file, key, ',', map));
        EXPECT_FALSE(VeDecrypt::EncryptFile_2_vector(file, key, vector));
        EXPECT_EQ(map, (Map{{"keep", "me"}}));
        EXPECT_EQ(vector, Lines{"keep"});
    };
    const std::string good = VeDecrypt::Encrypt("a,1\r\nb,2\r\n", kKey, 3);
    std::string badMagic = good;
    badMagic[0] = 'X';
    const struct { const char* name; std::string bytes; std::string key; } cases[] = {
        {"wrong key", good, "DornikHalbFilm"}, {"truncated", good.substr(0, good.size() - 1), kKey},
        {"wrong magic", badMagic, kKey},       {"empty file", "", kKey},
        {"plain text", "a,1\r\nb,2\r\n", kKey},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TableFile file(c.bytes);
        expectRefused(file.name.c_str(), c.key.c_str());
    }
    TableFile emptyKeyed(VeDecrypt::Encrypt("a,1\r\n", "", 3));  // a null key is no empty key
    for (const auto& [name, key] : std::vector<std::pair<const char*, const char*>>{
             {"vedecrypt-test-no-such-file.tbl", kKey.c_str()}, {".", kKey.c_str()}, {"", kKey.c_str()},
             {nullptr, kKey.c_str()}, {emptyKeyed.name.c_str(), nullptr}}) {
        SCOPED_TRACE(name ? name : "null file");
        expectRefused(name, key);
    }
}

TEST(VeDecryptTableTest, ReadsTheInstalledSoftwareTable) {
    Map out;
    ASSERT_TRUE(VeDecrypt::EncryptFile_2_map_string("softdownload.grm", kKey.c_str(), ',', out));
    Map expected;
    for (const auto& [name, url] : vetest::kSoftware) expected[vetest::Gbk(name)] = url;
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out.count("\xCE\xA2\xD0\xC5"), 1u);  // 微信, stored as GBK
}

}  // namespace
