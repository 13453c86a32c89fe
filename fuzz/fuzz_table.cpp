// The encrypted table reader. The first byte chooses: even, the rest is the file as it stands
// (tried with every shipped table's key); odd, the rest is a plain table, packed first, so
// that the line and pair splitting behind the integrity check is reached too.
#include <map>
#include <vector>

#include "FuzzHarness.h"
#include "host/VeDecrypt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vefuzz::Run(data, size, [](std::string input, vesim::SimDesktop&) {
        static const char* const kKeys[] = {"QuorbelFintax", "PelgraVos4821", "BrastelQuimond5729",
                                            "TrevalMossiDunke", "DornikHalbFilm", "DornikHalbTune"};
        const unsigned char mode = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
        if (!input.empty()) input.erase(0, 1);
        const char separator = ",=\t|"[(mode >> 1) % 4];
        if (mode % 2) input = VeDecrypt::Encrypt(input, kKeys[0], mode);
        vefuzz::WriteScratch("table.clx", input);

        vehost::SetDataDirectory(vefuzz::ScratchDir());
        for (const char* key : kKeys) {
            std::map<std::string, std::string> pairs;
            std::vector<std::string> lines;
            const bool read = VeDecrypt::EncryptFile_2_map_string("table.clx", key, separator, pairs);
            if (read != VeDecrypt::EncryptFile_2_vector("table.clx", key, lines)) std::abort();
        }
        vefuzz::UseShippedData();
    });
}
