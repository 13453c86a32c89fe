#include "host/VeDecrypt.h"

#include "host/DataDirectory.h"
#include "platform/DataFile.h"

namespace VeDecrypt {
namespace {

constexpr char kMagic[4] = {'V', 'e', 'D', 't'};
constexpr unsigned char kVersion = 1;
constexpr size_t kHeaderSize = 4 + 4 + 4 + 8;
constexpr size_t kCheckSize = 8;

std::uint64_t Fnv1a(std::uint64_t hash, const std::string& bytes) {
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001B3ull;
    }
    return hash;
}

constexpr std::uint64_t kFnvBasis = 0xCBF29CE484222325ull;

void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The salt is covered too: with an empty body nothing else would reveal a damaged salt.
std::uint64_t Check(const std::string& key, std::uint64_t salt, const std::string& plain) {
    std::string saltBytes;
    PutLe(saltBytes, salt, 8);
    return Fnv1a(Fnv1a(Fnv1a(Fnv1a(kFnvBasis, key), std::string(1, '\0')), saltBytes), plain);
}

void Scramble(std::string& body, const std::string& key, std::uint64_t salt) {
    std::uint64_t state = Fnv1a(kFnvBasis, key) ^ (salt * 0x9E3779B97F4A7C15ull);
    if (state == 0) state = 0x9E3779B97F4A7C15ull;
    std::uint64_t word = 0;
    for (size_t i = 0; i < body.size(); ++i) {
        if (i % 8 == 0) {  // xorshift64*
            state ^= state >> 12;
            state ^= state << 25;
            state ^= state >> 27;
            word = state * 0x2545F4914F6CDD1Dull;
        }
        body[i] = static_cast<char>(static_cast<unsigned char>(body[i]) ^ static_cast<unsigned char>(word >> (8 * (i % 8))));
    }
}

std::uint64_t GetLe(const std::string& in, size_t pos, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint64_t(static_cast<unsigned char>(in[pos + i])) << (8 * i);
    return value;
}

std::optional<std::string> ReadPlain(const char* file, const char* key) {
    if (!file || !key) return std::nullopt;
    auto packed = vefile::ReadDataFile(vehost::DataPath(file), kMaxTableBytes);
    if (!packed) return std::nullopt;
    return Decrypt(*packed, key);
}

std::optional<std::string> ReadPlainOrReport(const char* file, const char* key) {
    auto plain = ReadPlain(file, key);
    if (!plain && file) vehost::ReportUnusableDataFile(file, u"data table missing or damaged; going on without it");
    return plain;
}

// Calls `line` for every non-empty line; CR LF and LF both end a line.
template <typename Fn>
void ForEachLine(const std::string& text, Fn line) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        if (stop > start) line(text.substr(start, stop - start));
        start = end + 1;
    }
}

}  // namespace

std::string Encrypt(const std::string& plain, const std::string& key, std::uint64_t salt) {
    std::string out(kMagic, sizeof kMagic);
    out += static_cast<char>(kVersion);
    out.append(3, '\0');
    PutLe(out, plain.size(), 4);
    PutLe(out, salt, 8);
    std::string body = plain;
    Scramble(body, key, salt);
    out += body;
    PutLe(out, Check(key, salt, plain), 8);
    return out;
}

std::optional<std::string> Decrypt(const std::string& packed, const std::string& key) {
    if (packed.size() < kHeaderSize + kCheckSize) return std::nullopt;
    if (packed.compare(0, 4, kMagic, 4) != 0 || static_cast<unsigned char>(packed[4]) != kVersion)
        return std::nullopt;
    // The check does not cover the header, so its reserved bytes are checked here.
    if (packed.compare(5, 3, std::string(3, '\0')) != 0) return std::nullopt;
    std::uint64_t length = GetLe(packed, 8, 4);
    if (length != packed.size() - kHeaderSize - kCheckSize) return std::nullopt;
    std::uint64_t salt = GetLe(packed, 12, 8);
    std::string body = packed.substr(kHeaderSize, static_cast<size_t>(length));
    Scramble(body, key, salt);
    if (Check(key, salt, body) != GetLe(packed, kHeaderSize + static_cast<size_t>(length), 8)) return std::nullopt;
    return body;
}

bool EncryptFile_2_map_string(const char* file, const char* key, char separator,
                              std::map<std::string, std::string>& out) {
    auto plain = ReadPlainOrReport(file, key);
    if (!plain) return false;
    ForEachLine(*plain, [&](const std::string& line) {
        size_t cut = line.find(separator);
        if (cut == std::string::npos || cut == 0) return;  // a line without a key is no pair
        out.emplace(line.substr(0, cut), line.substr(cut + 1));
    });
    return true;
}

bool EncryptFile_2_vector(const char* file, const char* key, std::vector<std::string>& out) {
    auto plain = ReadPlainOrReport(file, key);
    if (!plain) return false;
    ForEachLine(*plain, [&](const std::string& line) { out.push_back(line); });
    return true;
}

}  // namespace VeDecrypt
