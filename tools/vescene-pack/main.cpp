// vescene-pack: writes the encrypted data tables the library reads.
//   vescene-pack --key KEY --in SOURCE.utf8 --out TABLE     UTF-8 lines -> GBK, CR LF, encrypted
//   vescene-pack --key KEY --show TABLE                     prints a table's lines as UTF-8
//   vescene-pack --gbk --in SOURCE.utf8 --out FILE          UTF-8 lines -> GBK, CR LF, plain
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "host/VeDecrypt.h"
#include "platform/TextCodec.h"

namespace {

int Usage() {
    std::cerr << "usage: vescene-pack --key KEY --in SOURCE --out TABLE\n"
                 "       vescene-pack --key KEY --show TABLE\n"
                 "       vescene-pack --gbk --in SOURCE --out FILE\n";
    return 2;
}

bool ReadFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// UTF-8 lines (LF or CR LF, blank lines dropped) to GBK lines ending in CR LF; false with a
// message naming the line when the source is not UTF-8 or a line has no GBK form.
bool ToGbkLines(const std::string& source, const std::string& path, std::string& gbk) {
    if (!textcodec::IsValidUtf8(source)) {
        std::cerr << "vescene-pack: " << path << " is not UTF-8\n";
        return false;
    }
    size_t lineNo = 0, start = 0;
    while (start < source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        std::string line = source.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::string converted = textcodec::Utf8ToGbk(line);
        if (textcodec::GbkToUtf8(converted) != line) {
            std::cerr << "vescene-pack: " << path << ":" << lineNo << ": not expressible in GBK\n";
            return false;
        }
        gbk += converted + "\r\n";
    }
    return true;
}

bool WriteFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    if (!file) std::cerr << "vescene-pack: cannot write " << path << "\n";
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    std::string key, in, out, show;
    bool plainGbk = false;
    for (int i = 1; i < argc; ++i) {
        std::string flag = argv[i];
        if (flag == "--gbk") {
            plainGbk = true;
            continue;
        }
        if (i + 1 >= argc) return Usage();
        if (flag == "--key") key = argv[++i];
        else if (flag == "--in") in = argv[++i];
        else if (flag == "--out") out = argv[++i];
        else if (flag == "--show") show = argv[++i];
        else return Usage();
    }
    if (plainGbk) {
        if (!key.empty() || !show.empty() || in.empty() || out.empty()) return Usage();
        std::string source, gbk;
        if (!ReadFile(in, source)) {
            std::cerr << "vescene-pack: cannot read " << in << "\n";
            return 1;
        }
        return ToGbkLines(source, in, gbk) && WriteFile(out, gbk) ? 0 : 1;
    }
    if (key.empty() || (show.empty() == (in.empty() || out.empty()))) return Usage();

    if (!show.empty()) {
        std::string packed;
        if (!ReadFile(show, packed)) {
            std::cerr << "vescene-pack: cannot read " << show << "\n";
            return 1;
        }
        auto plain = VeDecrypt::Decrypt(packed, key);
        if (!plain) {
            std::cerr << "vescene-pack: " << show << " is not a table of this key, or is damaged\n";
            return 1;
        }
        std::cout << textcodec::GbkToUtf8(*plain);
        return 0;
    }

    std::string source;
    if (!ReadFile(in, source)) {
        std::cerr << "vescene-pack: cannot read " << in << "\n";
        return 1;
    }
    std::string gbk;
    if (!ToGbkLines(source, in, gbk)) return 1;
    // The salt follows the content, so the same sources always give the same file.
    std::uint64_t salt = 0xCBF29CE484222325ull;
    for (unsigned char c : gbk) salt = (salt ^ c) * 0x100000001B3ull;
    return WriteFile(out, VeDecrypt::Encrypt(gbk, key, salt)) ? 0 : 1;
}
