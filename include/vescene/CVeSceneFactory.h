#pragma once
// The class through which the host hands every recognition result to the library: the C++ way
// in for a host built with the same toolchain (mingw-w64 / GCC, libstdc++); every other host uses
// the C API of vescene.h. Only the public members and the three process-wide statics are
// exported; the helpers below them are the library's own.
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

class CVeSceneFactory {
public:
    VESCENE_API CVeSceneFactory();
    VESCENE_API CVeSceneFactory(const CVeSceneFactory& other);
    VESCENE_API CVeSceneFactory& operator=(const CVeSceneFactory& other);
    VESCENE_API ~CVeSceneFactory();

    // The voice key's entry: `text` is the engine's UTF-8 JSON result.
    VESCENE_API VeProcessState ProcessM(const char* text, IatAPI api, bool bSearchFallback);

    // The laser pointer's entries, in normal and in slide-show control.
    VESCENE_API VeProcessState ProcessP_normal(const char* text);
    VESCENE_API VeProcessState ProcessP_PPT(const char* text);
    // The AI mode: the text goes to the host's AI chat.
    VESCENE_API VeProcessState ProcessAI(const char* text);
    // The office voice mode: the text is looked up in the office command grammar of `kind`.
    VESCENE_API VeProcessState ProcessM_office_xiao(const char* text, TyOfficeKind kind);

    // The command text of an offline grammar result's words, UTF-8.
    VESCENE_API static std::string GetOffAsrResult(VeJson& doc);

    VESCENE_API std::string GetText_utf8();
    VESCENE_API std::string GetScene();

    // Stops a running online request (never kills its thread; see VeScene_Release); the host
    // calls it before unloading the library.
    VESCENE_API static void Release();

private:
    VeProcessState ProcessM_nlp(VeJson& doc, bool bSearchFallback);
    VeProcessState ProcessM_tpp(VeJson& doc, bool bSearchFallback);
    // Stores the recognised text without its one leading blank and turns the document's
    // texts into GBK; returns the stored text.
    std::string KeepText(VeJson& doc, std::string utf8Text);
    // The first steps of both pen entries: the recognised text and the scene name, after
    // the confidence tests; false when the entry must fail.
    bool ReadPenResult(VeJson& doc, const char16_t* noCommandLog, std::string& utf8Text);

    // Hands an utterance no local scene carried out to the online semantic service, on the
    // one worker thread; nothing happens while a request is in flight.
    static void StartOnlineRequest(bool bSearchFallback, const std::string& utf8Text);
    static vewin::DWORD VESCENE_WINAPI ThreadNoltControl(void* param);
    static void VeReadNotAnalysisWords();

    // What the last utterance left, this object's own: hosts may keep one object per thread.
    std::string m_stdScene;
    std::string m_stdText_utf8;

    VESCENE_API static std::atomic<void*> s_hThreadCtrl;
    VESCENE_API static std::vector<std::string> s_veNotAnalysis;
};
