// One entry of the factory (VESCENE_FUZZ_ENTRY, see CMakeLists.txt) given any bytes as the
// engine's result: no crash, no read past the input, no key left held.
#include "FuzzHarness.h"
#include "host/VeJson.h"
#include "platform/TextCodec.h"
#include "vescene/CVeSceneFactory.h"

enum { kProcessM, kTpp, kPen, kPpt, kAi, kOfficeWord, kOfficePpt, kOfficeExcel };

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vefuzz::Run(data, size, [](const std::string& input, vesim::SimDesktop&) {
        CVeSceneFactory factory;
        const char* text = input.c_str();
        switch (VESCENE_FUZZ_ENTRY) {
            case kProcessM: {
                // The cloud engine's results and the others take different paths.
                const IatAPI api = input.size() % 2 ? IatAPI_CloudSemantic : IatAPI_Default;
                factory.ProcessM(text, api, input.size() % 4 >= 2);
                VeJson doc(input.data(), input.size());
                doc.Utf8ToUnicode();
                textcodec::Utf8ToGbk(textcodec::GbkToUtf8(input));
                break;
            }
            case kTpp: factory.ProcessM(text, IatAPI_Default, true); break;
            case kPen: factory.ProcessP_normal(text); break;
            case kPpt: factory.ProcessP_PPT(text); break;
            case kAi: factory.ProcessAI(text); break;
            case kOfficeWord: factory.ProcessM_office_xiao(text, TyOffice_Word); break;
            case kOfficePpt: factory.ProcessM_office_xiao(text, TyOffice_PowerPoint); break;
            case kOfficeExcel: factory.ProcessM_office_xiao(text, TyOffice_Excel); break;
        }
        factory.GetScene();
        factory.GetText_utf8();
    });
}
