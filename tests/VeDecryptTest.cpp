// The encrypted data tables: the packed format round-trips, any damage is refused, and the
// table readers split lines as the callers expect and leave their output alone on failure.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "host/TextCodec.h"
#include "host/VeDecrypt.h"

namespace {

using namespace std::string_literals;
using Map = std::map<std::string, std::string>;

constexpr size_t kHeaderSize = 20;
constexpr size_t kCheckSize = 8;
const std::string kKey = "QuorbelFintax";

std::uint64_t ReadLe(const std::string& bytes, size_t pos, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= std::uint64_t(static_cast<unsigned char>(bytes[pos + static_cast<size_t>(i)])) << (8 * i);
    return value;
}

// A file in the shared test data directory, under a name no other test uses, removed afterwards.
class TableFile {
public:
    explicit TableFile(const std::string& bytes) {
        static std::atomic<int> counter{0};
        m_name = "vedecrypt-test-" + std::to_string(counter++) + ".tbl";
        std::ofstream(Path(), std::ios::binary) << bytes;
    }
    ~TableFile() {
        std::error_code ignored;
        std::filesystem::remove(Path(), ignored);
    }
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;
    const char* name() const { return m_name.c_str(); }

private:
    std::string Path() const { return vetest::DataDir() + "/" + m_name; }
    std::string m_name;
};

// ---------------------------------------------------------------------------------------------
// Packed format

TEST(VeDecryptFormatTest, RoundTripsAnyBody) {
    std::string binary;
    for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
    struct Case { const char* name; std::string plain; std::string key; std::uint64_t salt; };
    const std::vector<Case> cases = {
        {"empty body", "", kKey, 7},
        {"one byte", "x", kKey, 0},
        {"one stream word", "12345678", kKey, 1},
        {"just over a word", "123456789", kKey, 2},
        {"GBK lines", "\xCE\xA2\xD0\xC5,https://pc.weixin.qq.com/\r\nQQ,https://im.qq.com/\r\n", kKey, 7},
        {"every byte value", binary, kKey, 0xFFFFFFFFFFFFFFFFull},
        {"large", std::string(200000, 'a'), kKey, 12345},
        {"empty key", "abc", "", 9},
        {"GBK key", "abc", "\xC4\xE3\xBA\xC3", 9},
        {"key with NUL", "abc", "a\0b"s, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string packed = VeDecrypt::Encrypt(c.plain, c.key, c.salt);
        ASSERT_EQ(packed.size(), kHeaderSize + c.plain.size() + kCheckSize);
        EXPECT_EQ(packed.substr(0, 8), "VeDt\x01\0\0\0"s);
        EXPECT_EQ(ReadLe(packed, 8, 4), c.plain.size());
        EXPECT_EQ(ReadLe(packed, 12, 8), c.salt);
        const auto plain = VeDecrypt::Decrypt(packed, c.key);
        ASSERT_TRUE(plain.has_value());
        EXPECT_EQ(*plain, c.plain);
    }
}

TEST(VeDecryptFormatTest, BodyIsNotReadableAndDependsOnKeyAndSalt) {
    const std::string plain = "\xCE\xA2\xD0\xC5,https://pc.weixin.qq.com/\r\n";
    const std::string a = VeDecrypt::Encrypt(plain, kKey, 1);
    const std::string b = VeDecrypt::Encrypt(plain, kKey, 2);
    const std::string c = VeDecrypt::Encrypt(plain, kKey + "x", 1);
    auto body = [&](const std::string& packed) { return packed.substr(kHeaderSize, plain.size()); };
    EXPECT_EQ(a.find("weixin"), std::string::npos);
    EXPECT_NE(body(a), plain);
    EXPECT_NE(body(a), body(b));
    EXPECT_NE(body(a), body(c));
    EXPECT_EQ(VeDecrypt::Encrypt(plain, kKey, 1), a);  // same input, same file
}

TEST(VeDecryptFormatTest, WrongKeysAreRefused) {
    const std::string packed = VeDecrypt::Encrypt("QQ,https://im.qq.com/\r\n", kKey, 7);
    for (const std::string& key : {""s, "quorbelfintax"s, "QuorbelFinta"s, kKey + "x"s, kKey + "\0"s, "DornikHalbFilm"s}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(VeDecrypt::Decrypt(packed, key).has_value());
    }
    const std::string emptyKeyed = VeDecrypt::Encrypt("abc", "", 7);
    EXPECT_FALSE(VeDecrypt::Decrypt(emptyKeyed, kKey).has_value());
}

TEST(VeDecryptFormatTest, EveryTruncationAndExtensionIsRefused) {
    const std::string packed = VeDecrypt::Encrypt("QQ,https://im.qq.com/\r\n", kKey, 7);
    for (size_t n = 0; n < packed.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(VeDecrypt::Decrypt(packed.substr(0, n), kKey).has_value());
    }
    EXPECT_FALSE(VeDecrypt::Decrypt(packed + '\0', kKey).has_value());
    EXPECT_FALSE(VeDecrypt::Decrypt(packed + packed, kKey).has_value());
}

TEST(VeDecryptFormatTest, AFlippedBitAnywhereIsRefused) {
    for (const std::string& plain : {""s, "QQ,https://im.qq.com/\r\n"s}) {
        const std::string packed = VeDecrypt::Encrypt(plain, kKey, 7);
        for (size_t i = 0; i < packed.size(); ++i) {
            for (int bit : {0, 7}) {
                SCOPED_TRACE(::testing::Message() << "plain size " << plain.size() << " byte " << i << " bit " << bit);
                std::string damaged = packed;
                damaged[i] = static_cast<char>(damaged[i] ^ (1 << bit));
                EXPECT_FALSE(VeDecrypt::Decrypt(damaged, kKey).has_value());
            }
        }
    }
}

TEST(VeDecryptFormatTest, ForeignHeadersAreRefused) {
    const std::string packed = VeDecrypt::Encrypt("abc", kKey, 7);
    struct Case { const char* name; size_t pos; char byte; };
    const std::vector<Case> cases = {
        {"magic case", 0, 'v'}, {"magic last", 3, 'T'}, {"version 0", 4, '\0'},
        {"version 2", 4, '\x02'}, {"version FF", 4, '\xFF'}, {"reserved", 6, '\x01'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string damaged = packed;
        damaged[c.pos] = c.byte;
        EXPECT_FALSE(VeDecrypt::Decrypt(damaged, kKey).has_value());
    }
    // A length that claims more than the file holds must not make the reader run past it.
    std::string longer = packed;
    longer[8] = '\xFF';
    longer[11] = '\xFF';
    EXPECT_FALSE(VeDecrypt::Decrypt(longer, kKey).has_value());
    EXPECT_FALSE(VeDecrypt::Decrypt(std::string(kHeaderSize + kCheckSize, '\0'), kKey).has_value());
}

// ---------------------------------------------------------------------------------------------
// Table files

struct MapCase {
    const char* name;
    std::string plain;
    char separator;
    Map expected;
};

const std::vector<MapCase> kMapCases = {
    {"CR LF lines", "a,1\r\nb,2\r\n", ',', {{"a", "1"}, {"b", "2"}}},
    {"LF lines", "a,1\nb,2\n", ',', {{"a", "1"}, {"b", "2"}}},
    {"no final line end", "a,1\r\nb,2", ',', {{"a", "1"}, {"b", "2"}}},
    {"mixed line ends and blank lines", "\r\n\na,1\n\r\n\r\nb,2\r\n\n", ',', {{"a", "1"}, {"b", "2"}}},
    {"split at the first comma", "url,https://x/?a=1,2\r\n", ',', {{"url", "https://x/?a=1,2"}}},
    {"empty value kept", "a,\r\n", ',', {{"a", ""}}},
    {"no comma skipped", "lonely\r\na,1\r\n", ',', {{"a", "1"}}},
    {"empty key skipped", ",1\r\na,1\r\n", ',', {{"a", "1"}}},
    {"duplicate keeps first", "a,1\r\na,2\r\n", ',', {{"a", "1"}}},
    {"CR inside a line kept", "a,1\r2\r\n", ',', {{"a", "1\r2"}}},
    {"GBK text", "\xCE\xA2\xD0\xC5,https://pc.weixin.qq.com/\r\n\xD1\xB8\xC0\xD7,https://www.xunlei.com/\r\n", ',',
     {{"\xCE\xA2\xD0\xC5", "https://pc.weixin.qq.com/"}, {"\xD1\xB8\xC0\xD7", "https://www.xunlei.com/"}}},
    {"other separator", "a=1,2\r\nb,3\r\n", '=', {{"a", "1,2"}}},
    {"only blank lines", "\r\n\n\r\n", ',', {}},
    {"empty body", "", ',', {}},
};

TEST(VeDecryptTableTest, MapSplitsEachLineAtTheFirstSeparator) {
    for (const auto& c : kMapCases) {
        SCOPED_TRACE(c.name);
        TableFile file(VeDecrypt::Encrypt(c.plain, kKey, 3));
        Map out;
        ASSERT_TRUE(VeDecrypt::EncryptFile_2_map_string(file.name(), kKey.c_str(), c.separator, out));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(VeDecryptTableTest, VectorHoldsEveryNonEmptyLine) {
    struct Case { const char* name; std::string plain; std::vector<std::string> expected; };
    const std::vector<Case> cases = {
        {"CR LF", "\xB5\xBE\xCF\xE3\r\n\xBA\xF3\xC0\xB4\r\n", {"\xB5\xBE\xCF\xE3", "\xBA\xF3\xC0\xB4"}},
        {"LF and no final end", "a\nb", {"a", "b"}},
        {"blank lines skipped", "\r\n\na\r\n\r\n\nb\n", {"a", "b"}},
        {"duplicates and commas kept", "a,1\r\na,1\r\n", {"a,1", "a,1"}},
        {"empty body", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TableFile file(VeDecrypt::Encrypt(c.plain, kKey, 3));
        std::vector<std::string> out;
        ASSERT_TRUE(VeDecrypt::EncryptFile_2_vector(file.name(), kKey.c_str(), out));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(VeDecryptTableTest, RefusedFilesLeaveTheOutputUnchanged) {
    const std::string good = VeDecrypt::Encrypt("a,1\r\nb,2\r\n", kKey, 3);
    std::string flipped = good;
    flipped[kHeaderSize + 1] = static_cast<char>(flipped[kHeaderSize + 1] ^ 0x20);
    std::string badMagic = good;
    badMagic[0] = 'X';
    std::string badVersion = good;
    badVersion[4] = '\x02';
    struct Case { const char* name; std::string bytes; std::string key; };
    const std::vector<Case> cases = {
        {"wrong key", good, "DornikHalbFilm"},
        {"truncated", good.substr(0, good.size() - 1), kKey},
        {"header only", good.substr(0, kHeaderSize), kKey},
        {"flipped body byte", flipped, kKey},
        {"wrong magic", badMagic, kKey},
        {"wrong version", badVersion, kKey},
        {"empty file", "", kKey},
        {"plain text", "a,1\r\nb,2\r\n", kKey},
    };
    const Map mapBefore = {{"keep", "me"}};
    const std::vector<std::string> vectorBefore = {"keep", "me"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TableFile file(c.bytes);
        Map map = mapBefore;
        std::vector<std::string> vector = vectorBefore;
        EXPECT_FALSE(VeDecrypt::EncryptFile_2_map_string(file.name(), c.key.c_str(), ',', map));
        EXPECT_FALSE(VeDecrypt::EncryptFile_2_vector(file.name(), c.key.c_str(), vector));
        EXPECT_EQ(map, mapBefore);
        EXPECT_EQ(vector, vectorBefore);
    }
}

TEST(VeDecryptTableTest, MissingFilesAndNullArgumentsAreRefused) {
    TableFile file(VeDecrypt::Encrypt("a,1\r\n", kKey, 3));
    struct Case { const char* name; const char* file; const char* key; };
    const std::vector<Case> cases = {
        {"missing file", "vedecrypt-test-no-such-file.tbl", kKey.c_str()},
        {"directory", ".", kKey.c_str()},
        {"empty name", "", kKey.c_str()},
        {"null file", nullptr, kKey.c_str()},
        {"null key", file.name(), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Map map = {{"keep", "me"}};
        std::vector<std::string> vector = {"keep"};
        EXPECT_FALSE(VeDecrypt::EncryptFile_2_map_string(c.file, c.key, ',', map));
        EXPECT_FALSE(VeDecrypt::EncryptFile_2_vector(c.file, c.key, vector));
        EXPECT_EQ(map, (Map{{"keep", "me"}}));
        EXPECT_EQ(vector, std::vector<std::string>{"keep"});
    }
}

TEST(VeDecryptTableTest, ReadsTheInstalledSoftwareTable) {
    Map out;
    ASSERT_TRUE(VeDecrypt::EncryptFile_2_map_string("softdownload.grm", kKey.c_str(), ',', out));
    ASSERT_EQ(out.size(), vetest::kSoftware.size());
    for (const auto& [name, url] : vetest::kSoftware) {
        SCOPED_TRACE(name);
        const auto it = out.find(textcodec::Utf8ToGbk(name));
        ASSERT_NE(it, out.end());
        EXPECT_EQ(it->second, url);
    }
    EXPECT_EQ(out.count("\xCE\xA2\xD0\xC5"), 1u);  // 微信, stored as GBK
}

}  // namespace
