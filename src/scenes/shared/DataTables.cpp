#include "scenes/shared/DataTables.h"

#include "core/LazyTable.h"
#include "host/VeDecrypt.h"

namespace {

using Table = std::map<std::string, std::string>;

const Table& Load(LazyTable<Table>& table, const char* file, const char* key) {
    return table.Get([&](Table& fresh) { VeDecrypt::EncryptFile_2_map_string(file, key, ',', fresh); });
}

}  // namespace

const Table& GetSoftDownloadTable() {
    static LazyTable<Table> table;
    return Load(table, "softdownload.grm", "QuorbelFintax");
}

const Table& GetRegionAbbreviationTable() {
    static LazyTable<Table> table;
    return Load(table, "chinareabbreviation.clx", "PelgraVos4821");
}

const Table& GetStationTable() {
    static LazyTable<Table> table;
    return Load(table, "addressabbreviation12306.ve", "BrastelQuimond5729");
}

const Table& GetHotelRegionTable() {
    static LazyTable<Table> table;
    return Load(table, "chinareaddress.clx", "TrevalMossiDunke");
}
