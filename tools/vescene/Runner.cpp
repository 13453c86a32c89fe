#include "Runner.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <istream>
#include <ostream>

#include "core/JsonQuote.h"
#include "platform/TextCodec.h"
#include "platform/sim/SimDesktop.h"
#include "understanding/Understanding.h"

namespace {

enum class Call { Voice, Pen, Ppt, Ai, Office };
struct EntryName {
    const char* name;
    const char* shortName;
    Call call;
    int kind;  // the office application, 0: the line's "kind"
};
constexpr EntryName kEntries[] = {
    {"ProcessM", "voice", Call::Voice, 0},
    {"ProcessP_normal", "pen", Call::Pen, 0},
    {"ProcessP_PPT", "ppt", Call::Ppt, 0},
    {"ProcessAI", "ai", Call::Ai, 0},
    {"ProcessM_office_xiao", "office", Call::Office, 0},
    {"ProcessM_office_xiao", "office-word", Call::Office, TyOffice_Word},
    {"ProcessM_office_xiao", "office-ppt", Call::Office, TyOffice_PowerPoint},
    {"ProcessM_office_xiao", "office-excel", Call::Office, TyOffice_Excel},
};

const EntryName* FindEntry(const std::string& name) {
    for (const auto& e : kEntries)
        if (name == e.name || name == e.shortName) return &e;
    return nullptr;
}

std::string Serialize(const rapidjson::Value& value) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    value.Accept(writer);
    return {buffer.GetString(), buffer.GetSize()};
}

bool IsBlankOrComment(const std::string& line) {
    size_t first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

}  // namespace

Runner::Runner(RunOptions options, std::ostream& out, std::ostream& err)
    : m_options(options), m_out(out), m_err(err) {}

void Runner::Fail(int lineNo, const std::string& message) {
    m_err << "vescene: line " << lineNo << ": " << message << "\n";
    if (m_options.json)
        m_out << "{\"line\":" << lineNo << ",\"error\":" << JsonQuote(message) << "}\n";
}

bool Runner::RunStream(std::istream& in) {
    bool ok = true;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (IsBlankOrComment(line)) continue;
        ok = RunLine(line, lineNo) && ok;
    }
    Finish();
    return ok;
}

void Runner::Finish() {
    if (!m_pending) return;
    vesim::SimDesktop& sim = **m_pending;
    sim.WaitForThreads();
    auto trace = sim.Trace();
    std::stable_sort(trace.begin(), trace.end(), [](const auto& a, const auto& b) { return a.thread < b.thread; });
    if (m_options.json) {
        m_out << "{\"end\":true,\"trace\":[";
        for (size_t i = 0; i < trace.size(); ++i) m_out << (i ? "," : "") << trace[i].ToJson();
        m_out << "]}\n";
    } else {
        m_out << "end: after the last line\n";
    }
    PrintTrace(trace, sim.Clock() - m_clockMs);
    m_pending.reset();
}

void Runner::PrintTrace(const std::vector<vesim::TraceEvent>& trace, unsigned long long clockMs) {
    if (m_options.json) return;  // the record holds it
    for (const auto& event : trace) m_out << "    " << event.ToReadable() << "\n";
    if (clockMs > 0) m_out << "    (virtual clock " << clockMs << " ms)\n";
}

bool Runner::RunLine(const std::string& line, int lineNo) {
    rapidjson::Document doc;
    doc.Parse(line.c_str(), line.size());
    if (doc.HasParseError() || !doc.IsObject()) {
        Fail(lineNo, "not a JSON object");
        return false;
    }
    if (!doc.HasMember("input")) return Run(lineNo, "ProcessM", line, 0, true, "", 0, true, m_options.understand);

    std::string entry = "ProcessM", input, sim;
    int api = 0, kind = 0;
    bool fallback = true, wait = true, understand = m_options.understand;
    for (const auto& m : doc.GetObject()) {
        std::string key = m.name.GetString();
        const auto& v = m.value;
        if (key == "entry" && v.IsString()) entry = v.GetString();
        else if (key == "api" && v.IsInt()) api = v.GetInt();
        else if (key == "kind" && v.IsInt()) kind = v.GetInt();
        else if (key == "fallback" && v.IsBool()) fallback = v.GetBool();
        else if (key == "wait" && v.IsBool()) wait = v.GetBool();
        else if (key == "understand" && v.IsBool()) understand = v.GetBool();
        else if (key == "input" && v.IsString()) input.assign(v.GetString(), v.GetStringLength());
        else if (key == "input" && v.IsObject()) input = Serialize(v);
        else if (key == "sim" && v.IsObject()) sim = Serialize(v);
        else {
            Fail(lineNo, "\"" + key + "\" is not a known field or has the wrong type");
            return false;
        }
    }
    return Run(lineNo, entry, input, api, fallback, sim, kind, wait, understand);
}

bool Runner::IsEntry(const std::string& name) { return FindEntry(name) != nullptr; }

bool Runner::Say(const std::string& entry, const std::string& utf8Text, const std::string& simJson, bool literal) {
    // An online result that carries the text and no semantic meaning.
    std::string input = "{\"text\":" + JsonQuote(utf8Text) + ",\"rc\":4}";
    return Run(1, entry, input, 0, true, simJson, 0, true, !literal);
}

bool Runner::Run(int lineNo, const std::string& entry, const std::string& input, int api, bool fallback,
                 const std::string& simJson, int kind, bool wait, bool understand) {
    // After a line that did not wait, its online request may still be running on its desktop.
    const bool reused = m_pending != nullptr;
    std::unique_ptr<vesim::ScopedSim> owned = std::move(m_pending);
    const unsigned long long clockStart = reused ? m_clockMs : 0;
    if (!owned) owned = std::make_unique<vesim::ScopedSim>();
    vesim::SimDesktop& sim = **owned;
    std::string error;
    if (!simJson.empty() && !sim.Configure(simJson, error)) {
        if (reused) m_pending = std::move(owned);
        Fail(lineNo, error);
        return false;
    }
    const EntryName* chosen = FindEntry(entry);
    if (!chosen) {
        if (reused) m_pending = std::move(owned);
        Fail(lineNo, "entry \"" + entry + "\" is not available");
        return false;
    }
    const std::string entryName = chosen->name;
    // A line that does not wait lets the next one run while its request is in flight, as a host
    // does; its thread starts only once this line's calls are taken, so the split between the
    // records is the same on every run.
    if (!wait) sim.HoldThreads(true);
    understanding::SetEnabled(understand);
    const char* in = input.c_str();
    int result = ProcessFailed;
    switch (chosen->call) {
    case Call::Voice: result = m_factory.ProcessM(in, static_cast<IatAPI>(api), fallback); break;
    case Call::Pen: result = m_factory.ProcessP_normal(in); break;
    case Call::Ppt: result = m_factory.ProcessP_PPT(in); break;
    case Call::Ai: result = m_factory.ProcessAI(in); break;
    case Call::Office:
        result = m_factory.ProcessM_office_xiao(in, static_cast<TyOfficeKind>(chosen->kind ? chosen->kind : kind));
        break;
    }
    understanding::SetEnabled(false);  // for this line only
    if (wait) sim.WaitForThreads();  // the online request's calls belong to this line
    auto trace = sim.Trace();
    sim.ClearTrace();
    const unsigned long long clockMs = sim.Clock() - clockStart;
    // The request stays held until the next line's entry abandons it (its wait lets the thread
    // start) or the file ends: whether it got further first would depend on the scheduler.
    if (!wait) {
        m_clockMs = sim.Clock();
        m_pending = std::move(owned);
    }
    // The threads' calls come after the line's own, each thread's in its order: the two run side
    // by side, and the order between them is the scheduler's.
    std::stable_sort(trace.begin(), trace.end(), [](const auto& a, const auto& b) { return a.thread < b.thread; });
    // A failed line recognised nothing: the factory's text is still the previous line's.
    // The scene name is read from the document after its conversion, so it is GBK text.
    std::string scene, text;
    if (result != ProcessFailed) {
        scene = textcodec::GbkToUtf8(m_factory.GetScene());
        text = m_factory.GetText_utf8();
    }
    if (m_options.json) {
        m_out << "{\"line\":" << lineNo << ",\"entry\":" << JsonQuote(entryName) << ",\"result\":" << result
              << ",\"scene\":" << JsonQuote(scene) << ",\"text\":" << JsonQuote(text)
              << ",\"trace\":[";
        for (size_t i = 0; i < trace.size(); ++i) m_out << (i ? "," : "") << trace[i].ToJson();
        m_out << "]}\n";
    } else {
        m_out << "line " << lineNo << ": " << entryName << " -> " << result << "  scene " << JsonQuote(scene)
              << "  text " << JsonQuote(text) << "\n";
    }
    PrintTrace(trace, clockMs);
    return true;
}
