#pragma once
// The installation's encrypted data tables. Format: magic "VeDt", version byte, three zero
// bytes, body length (u32 LE), salt (u64 LE), the body XOR a stream derived from the key and
// salt, then a check (u64 LE) over the key, the salt and the plain body. A wrong key, a
// truncated or a corrupted file is refused. This keeps data from casual reading; it is not
// security.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace VeDecrypt {

// A larger file is no table of ours (the largest shipped one is 11 KB): it counts as missing.
inline constexpr std::uint64_t kMaxTableBytes = 256u << 10;

// `file` is a bare name resolved against the data directory. On failure `out` is unchanged.
bool EncryptFile_2_map_string(const char* file, const char* key, char separator,
                              std::map<std::string, std::string>& out);
bool EncryptFile_2_vector(const char* file, const char* key, std::vector<std::string>& out);

std::string Encrypt(const std::string& plain, const std::string& key, std::uint64_t salt);
std::optional<std::string> Decrypt(const std::string& packed, const std::string& key);

}  // namespace VeDecrypt
