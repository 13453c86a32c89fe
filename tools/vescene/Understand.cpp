#include "Understand.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <fstream>
#include <ostream>
#include <set>

#include "host/CUtil.h"
#include "platform/sim/SimDesktop.h"
#include "understanding/Understanding.h"
#include "vescene/CVeSceneFactory.h"

namespace {

std::string Serialize(const rapidjson::Value& value) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    value.Accept(writer);
    return {buffer.GetString(), buffer.GetSize()};
}

void PrintProblems(const understanding::Grammar& grammar, std::ostream& err) {
    for (const std::string& problem : grammar.problems) err << "vescene: understanding/" << problem << "\n";
}

// What ProcessM did on a fresh desktop with `input`, the case's desktop settings applied.
std::vector<std::string> ActionsOf(const std::string& input, const std::string& simJson, bool understand,
                                   std::string& scene) {
    vesim::ScopedSim sim;
    std::string error;
    if (!simJson.empty()) sim->Configure(simJson, error);
    understanding::SetEnabled(understand);
    CVeSceneFactory factory;
    factory.ProcessM(input.c_str(), IatAPI_CloudSemantic, true);
    sim->WaitForThreads();
    scene = factory.GetScene();
    return DesktopActions(sim->Trace());
}

int Eval(const std::string& path, std::ostream& out, std::ostream& err) {
    std::ifstream file(path);
    if (!file) {
        err << "vescene: cannot read " << path << "\n";
        return 2;
    }
    PrintProblems(*understanding::InstalledGrammar(), err);
    const EvalCount count = EvalCases(file, out, err);
    if (!count.ok) return 2;
    out << count.matches << " of " << count.cases << " match\n";
    if (count.negativesUnderstood) out << count.negativesUnderstood << " of " << count.negatives << " negatives understood\n";
    return count.negativesUnderstood ? 1 : 0;
}

}  // namespace

std::vector<std::string> DesktopActions(const std::vector<vesim::TraceEvent>& trace) {
    static const std::set<std::string> kActions = {
        "keybd_event", "SendInput", "mouse_event", "PostMessageW", "ExitWindowsEx", "LockWorkStation", "WinExec",
        "TerminateProcess", "ShellExecuteW", "VeUI::VeShellExecuteA", "CUtil::SearchInBaidu_unicode",
        "CUtil::SearchInBaidu_utf8", "CEnvironmentMonitor::SetVolume", "CEnvironmentMonitor::SetBrightness",
        "CVeCurl::OpenUrl_get", "VeUI::Log", "VeUI::Log_2", "VeUI::Log_HICON", "VeUI::Log_nolt", "VeUI::MainMenu",
        "CAiManager::openAi", "VeUI::InteractiveSet", "CVeOffice::WordTemplate"};
    // Look-ups that act when they know the name: the host opens the site, program or file.
    static const std::set<std::string> kActingLookups = {
        "CDataFactory::OpenWebsite", "CDataFactory::OpenWebsite_Grm", "CDataFactory::OpenPcSoftwareLnk",
        "CDataFactory::VeOpenUserFiles", "CDataFactory::UninstSystemExe", "CUtil::OpenCommand",
        "CAccountData::OpenUserSelf"};
    std::vector<std::string> actions;
    for (const auto& event : trace) {
        const bool acted = event.result && event.result->kind == vesim::TraceValue::Kind::Bool && event.result->number;
        if (kActions.count(event.call) || (kActingLookups.count(event.call) && acted))
            actions.push_back(event.ToReadable());
    }
    return actions;
}

EvalCount EvalCases(std::istream& in, std::ostream& out, std::ostream& err) {
    EvalCount count;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        rapidjson::Document doc;
        doc.Parse(line.c_str(), line.size());
        if (doc.HasParseError() || !doc.IsObject() || !doc.HasMember("text") || !doc["text"].IsString() ||
            !doc.HasMember("engine") || !doc["engine"].IsObject()) {
            err << "vescene: line " << lineNo << ": not {\"text\", \"engine\"}\n";
            count.ok = false;
            continue;
        }
        const rapidjson::Value& engine = doc["engine"];
        const std::string text = doc["text"].GetString();
        const std::string simJson = doc.HasMember("sim") && doc["sim"].IsObject() ? Serialize(doc["sim"]) : "";
        const std::string id = doc.HasMember("id") && doc["id"].IsString() ? doc["id"].GetString() : std::to_string(lineNo);
        const bool negative = !(engine.HasMember("rc") && engine["rc"].IsInt() && engine["rc"].GetInt() == 0 &&
                                engine.HasMember("service") && engine["service"].IsString());
        std::string engineScene, textScene;
        const auto byEngine = ActionsOf(Serialize(engine), simJson, false, engineScene);
        const auto byText = ActionsOf("{\"text\":" + Serialize(doc["text"]) + ",\"rc\":4}", simJson, true, textScene);
        ++count.cases;
        if (negative) {
            ++count.negatives;
            if (textScene != engineScene) {
                ++count.negativesUnderstood;
                out << id << ": " << text << "  a negative understood as " << textScene << "\n";
            }
        }
        if (byEngine == byText) {
            ++count.matches;
            continue;
        }
        out << id << ": " << text << "  engine " << engineScene << ", text " << textScene << "\n";
        for (const auto& action : byEngine) out << "    engine: " << action << "\n";
        for (const auto& action : byText) out << "    text:   " << action << "\n";
    }
    understanding::SetEnabled(false);
    return count;
}

int UnderstandCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool explain = false;
    std::string evalFile, simJson, text;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--explain") explain = true;
        else if (args[i] == "--eval" && i + 1 < args.size()) evalFile = args[++i];
        else if (args[i] == "--sim" && i + 1 < args.size()) simJson = args[++i];
        else text += (text.empty() ? "" : " ") + args[i];
    }
    if (!evalFile.empty()) return text.empty() ? Eval(evalFile, out, err) : 2;
    if (text.empty()) return 2;
    const auto grammar = understanding::InstalledGrammar();
    PrintProblems(*grammar, err);
    // The desktop's date comes from the simulated desktop, as it does for `say`.
    vesim::ScopedSim sim;
    std::string error;
    if (!simJson.empty() && !sim->Configure(simJson, error)) {
        err << "vescene: --sim: " << error << "\n";
        return 2;
    }
    const auto result = understanding::Understand(*grammar, text, [] { return TyTime::GetTime_2020_01_01(); }, explain);
    if (!result) {
        out << "not understood: " << text << "\n";
        return 1;
    }
    out << result->explain << result->json << "\n";
    return 0;
}
