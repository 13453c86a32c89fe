#include "platform/sim/Trace.h"

#include "core/JsonQuote.h"

namespace vesim {

std::string TraceValue::ToJson() const {
    switch (kind) {
        case Kind::Number: return std::to_string(number);
        case Kind::Text: return JsonQuote(text);
        case Kind::Bool: return number ? "true" : "false";
        case Kind::Null: break;
    }
    return "null";
}

std::string TraceEvent::ToJson() const {
    std::string out = "{\"call\":" + JsonQuote(call) + ",\"args\":[";
    for (size_t i = 0; i < args.size(); ++i) out += (i ? "," : "") + args[i].ToJson();
    out += "]";
    if (result) out += ",\"result\":" + result->ToJson();
    if (thread) out += ",\"thread\":" + std::to_string(thread);
    return out + "}";
}

std::string TraceEvent::ToReadable() const {
    std::string out = thread ? "[thread " + std::to_string(thread) + "] " + call + "(" : call + "(";
    for (size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + args[i].ToJson();
    out += ")";
    if (result) out += " -> " + result->ToJson();
    return out;
}

}  // namespace vesim
