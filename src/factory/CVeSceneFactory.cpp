#include "vescene/CVeSceneFactory.h"

#include "factory/Dispatch.h"
#include "host/CUtil.h"
#include "host/VeChar.h"
#include "host/VeJson.h"

std::atomic<void*> CVeSceneFactory::s_hThreadCtrl{nullptr};
std::vector<std::string> CVeSceneFactory::s_veNotAnalysis;

CVeSceneFactory::CVeSceneFactory() = default;
CVeSceneFactory::CVeSceneFactory(const CVeSceneFactory& other) = default;
CVeSceneFactory::~CVeSceneFactory() = default;

CVeSceneFactory& CVeSceneFactory::operator=(const CVeSceneFactory& other) {
    if (this != &other) {
        m_stdScene = other.m_stdScene;
        m_stdText_utf8 = other.m_stdText_utf8;
    }
    return *this;
}

VeProcessState CVeSceneFactory::ProcessM(const char* text, IatAPI api, bool bSearchFallback) {
    return WithDocument(text, [&](VeJson& doc) {
        if (api == IatAPI_CloudSemantic || doc.Get("fromType").empty()) return ProcessM_nlp(doc, bSearchFallback);
        return ProcessM_tpp(doc, bSearchFallback);
    });
}

std::string CVeSceneFactory::GetOffAsrResult(VeJson& doc) {
    std::vector<std::string> words;
    doc.GetNodeTextVector("ws^cw^w", words);
    if (words.empty()) return {};
    if (words.size() == 1) return words.front();
    if (VeChar::VeUtf8_2_CString(words.front()) == u"打开") return words.front() + words.back();
    return words.back();
}

std::string CVeSceneFactory::KeepText(VeJson& doc, std::string utf8Text) {
    // A NUL would cut the text where the windows show it but not where it is searched or sent.
    std::erase(utf8Text, '\0');
    m_stdText_utf8 = WithoutLeadingBlank(std::move(utf8Text));
    doc.Utf8ToUnicode();
    return m_stdText_utf8;
}

std::string CVeSceneFactory::GetText_utf8() { return m_stdText_utf8; }

std::string CVeSceneFactory::GetScene() { return m_stdScene; }
