#pragma once
// The class through which the host hands every recognition result to the library.
#include <atomic>
#include <string>
#include <vector>

#include "vescene/Export.h"
#include "vescene/WinAbi.h"

class VeJson;

enum VeProcessState { ProcessFailed = 0, ProcessDone = 1, ProcessUnhandled = 2 };

// The engine that produced a ProcessM input; only the cloud semantic engine is told apart.
enum IatAPI : int { IatAPI_Default = 0, IatAPI_CloudSemantic = 1 };

// The Office application of the office voice mode.
enum TyOfficeKind : int { TyOffice_None = 0, TyOffice_Word = 1, TyOffice_PowerPoint = 2, TyOffice_Excel = 3 };

class VESCENE_API CVeSceneFactory {
public:
    CVeSceneFactory();
    CVeSceneFactory(const CVeSceneFactory& other);
    CVeSceneFactory& operator=(const CVeSceneFactory& other);
    ~CVeSceneFactory();

    // The voice key's entry: `text` is the engine's UTF-8 JSON result.
    VeProcessState ProcessM(const char* text, IatAPI api, bool bSearchFallback);

    // The laser pointer's entries, in normal and in slide-show control.
    VeProcessState ProcessP_normal(const char* text);
    VeProcessState ProcessP_PPT(const char* text);
    // The AI mode: the text goes to the host's AI chat.
    VeProcessState ProcessAI(const char* text);
    // The office voice mode: the text is looked up in the office command grammar of `kind`.
    VeProcessState ProcessM_office_xiao(const char* text, TyOfficeKind kind);

    // The command text of an offline grammar result's words, UTF-8.
    static std::string GetOffAsrResult(VeJson& doc);

    std::string GetText_utf8();
    std::string GetScene();

    // Stops a running online request (never kills its thread; see VeScene_Release); the host
    // calls it before unloading the library.
    static void Release();

private:
    VeProcessState ProcessM_nlp(VeJson& doc, bool bSearchFallback);
    VeProcessState ProcessM_tpp(VeJson& doc, bool bSearchFallback);
    // Stores the recognised text without its one leading blank and turns the document's
    // texts into GBK; returns the stored text.
    static std::string KeepText(VeJson& doc, std::string utf8Text);
    // The first steps of both pen entries: the recognised text and the scene name, after
    // the confidence tests; false when the entry must fail.
    bool ReadPenResult(VeJson& doc, const char16_t* noCommandLog, std::string& utf8Text);

    // Hands an utterance no local scene carried out to the online semantic service, on the
    // one worker thread; nothing happens while a request is in flight.
    static void StartOnlineRequest(bool bSearchFallback, const std::string& utf8Text);
    static vewin::DWORD VESCENE_WINAPI ThreadNoltControl(void* param);
    static void VeReadNotAnalysisWords();

    std::string m_stdScene;

    static std::string s_stdText_utf8;
    static std::atomic<void*> s_hThreadCtrl;
    static std::vector<std::string> s_veNotAnalysis;
};
