// The office command grammars as read from disk (GBK, ';'-ended records, ':' before the key
// spec): any file is loaded into the tables, and a phrase of each table is then played.
#include "FuzzHarness.h"
#include "core/JsonQuote.h"
#include "keyboard/OfficeGrammar.h"
#include "platform/TextCodec.h"
#include "vescene/CVeSceneFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vefuzz::Run(data, size, [](const std::string& input, vesim::SimDesktop&) {
        vefuzz::WriteScratch("officectrl.grm", input);
        vefuzz::WriteScratch("officectrloutppt.grm", input);
        vehost::SetDataDirectory(vefuzz::ScratchDir());
        ResetOfficeCtrlTables();
        LoadOfficeCtrlGrammar();
        LoadOfficeCtrlOutPptGrammar();

        // The first phrase of each application's table, said in its office mode.
        CVeSceneFactory factory;
        const std::pair<OfficeCtrlTable*, TyOfficeKind> kinds[] = {
            {&WordTable(), TyOffice_Word}, {&PptTable(), TyOffice_PowerPoint}, {&ExcelTable(), TyOffice_Excel}};
        for (const auto& [table, kind] : kinds) {
            if (table->empty() || table->begin()->first.empty()) continue;
            const std::string utf8 = textcodec::GbkToUtf8(table->begin()->first.front());
            const std::string result = "{\"text\":" + JsonQuote(utf8) + ",\"rc\":4}";
            factory.ProcessM_office_xiao(result.c_str(), kind);
        }
        FindKeysByEquality(OutPptTable(), input);
        ResetOfficeCtrlTables();
        vefuzz::UseShippedData();
    });
}
