// vescene: the command-line host. Feeds recognition results to the library on the
// simulated desktop and prints every call it made.
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "InstalledPath.h"
#include "Runner.h"
#include "Understand.h"
#include "host/DataDirectory.h"
#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"
#include "vescene/version.h"

namespace {

constexpr const char* kUsage =
    "usage: vescene [--json] [--data DIR] [--online URL] [--songsearch URL] say [--literal] [--entry ENTRY] [--sim JSON] TEXT...\n"
    "         ENTRY: voice (ProcessM, the default), pen, ppt, ai, office-word, office-ppt, office-excel\n"
    "       vescene [--json] [--data DIR] [--online URL] [--songsearch URL] [--understand] run FILE|-\n"
    "       vescene [--data DIR] understand [--explain] [--sim JSON] TEXT...\n"
    "       vescene [--data DIR] understand --eval FILE\n"
    "       vescene --help | --version\n"
    "\n"
    "say   wraps the spoken text into an engine result without a service and runs it; the text is\n"
    "      understood offline first (data/understanding), or with --literal not\n"
    "understand  prints the engine result the offline understanding makes of TEXT (--explain: the\n"
    "      template and list entries that matched); --eval runs each line {\"text\", \"engine\"} of\n"
    "      FILE with the engine's result and with the text alone, prints what the desktop did\n"
    "      differently, and \"N of M match\"\n"
    "--understand      run: understand results without a service (a line's \"understand\": true too)\n"
    "--data DIR        the data files (default: the build's data/, or the installation's\n"
    "                  share/vescene/data for an installed vescene); missing or incomplete is an error\n"
    "--online URL      the online semantic service for what nothing local carried out (default: none,\n"
    "                  and then nothing is sent)\n"
    "--songsearch URL  the song search of the music scene (default: none)\n"
    "run   runs JSON Lines: a bare engine result, or\n"
    "      {\"entry\":\"ProcessM\",\"api\":0,\"fallback\":true,\"kind\":1,\"wait\":true,\"input\":{...}|\"...\",\"sim\":{...}}\n"
    "      entries: ProcessM, ProcessP_normal, ProcessP_PPT, ProcessAI, ProcessM_office_xiao (with kind)\n"
    "      \"wait\": false runs the next line while this line's online request is in flight, on the\n"
    "      same desktop; the request's calls show with the line that runs when they happen, or in\n"
    "      a last record after the file\n";

int Usage(const std::string& problem = {}) {
    if (!problem.empty()) std::cerr << "vescene: " << problem << "\n";
    std::cerr << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    RunOptions options;
    std::string dataDir = InstalledOr(VESCENE_INSTALLED_DATA_DIR, VESCENE_DEFAULT_DATA_DIR), entry = "ProcessM", sim, command;
    // Without --online nothing is sent online; without --songsearch the song search goes to a
    // closed local port and fails at once, so a run's trace depends on nothing outside.
    std::string online, songSearch = "http://127.0.0.1:9";
    std::vector<std::string> rest;
    bool literal = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (command == "understand") rest.push_back(a);  // its own options
        else if (a == "--json") options.json = true;
        else if (a == "--understand") options.understand = true;
        else if (a == "--literal" && command == "say") literal = true;
        else if (a == "--data" && hasValue) dataDir = args[++i];
        else if (a == "--entry" && hasValue) entry = args[++i];
        else if (a == "--sim" && hasValue) sim = args[++i];
        else if (a == "--online" && hasValue) online = args[++i];
        else if (a == "--songsearch" && hasValue) songSearch = args[++i];
        else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--version") {
            std::cout << "vescene " << VESCENE_VERSION_STRING << "\n";
            return 0;
        } else if (command.empty() && (a == "say" || a == "run" || a == "understand")) command = a;
        else if (a.size() > 2 && a.rfind("--", 0) == 0) return Usage("unknown option " + a + (hasValue ? "" : " (or it lacks its value)"));
        else if (command.empty()) return Usage("unknown command " + a);
        else rest.push_back(a);
    }
    if (command.empty()) return Usage("no command");
    if (command == "say" && !Runner::IsEntry(entry)) return Usage("unknown entry " + entry);
    if (rest.empty())
        return Usage(command == "say" ? "say needs a text" : command == "run" ? "run needs a file or -" : "understand needs a text");
    // A data directory without the tables changes results silently: refuse it before any line.
    if (const std::u16string missing = vehost::MissingData(dataDir); !missing.empty()) {
        std::cerr << "vescene: " << textcodec::Utf16ToUtf8(missing) << " (--data)\n";
        return 2;
    }
    vehost::SetDataDirectory(dataDir);
    for (const auto& [name, url] : {std::pair{"online", online}, std::pair{"songsearch", songSearch}}) {
        if (!vehttp::SetEndpoint(name, url)) {
            std::cerr << "vescene: --" << name << " needs an http or https URL, not " << url << "\n";
            return 2;
        }
    }

    if (command == "understand") {
        const int code = UnderstandCommand(rest, std::cout, std::cerr);
        return code == 2 ? Usage() : code;
    }
    Runner runner(options, std::cout, std::cerr);
    if (command == "say") {
        std::string text;
        for (const auto& word : rest) text += (text.empty() ? "" : " ") + word;
        return runner.Say(entry, text, sim, literal) ? 0 : 1;
    }
    if (rest.size() != 1) return Usage();
    if (rest[0] == "-") return runner.RunStream(std::cin) ? 0 : 1;
    std::ifstream file(rest[0]);
    if (!file) {
        std::cerr << "vescene: cannot read " << rest[0] << "\n";
        return 1;
    }
    return runner.RunStream(file) ? 0 : 1;
}
