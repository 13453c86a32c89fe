// nolt-server: the reference online semantic service. Answers
//   GET /semantic/comprehend?text=<utterance, UTF-8, percent-encoded>&deviceno=<adapter address>
// with the JSON reply of the first matching rule of the rules file (see NoltRules.h).
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "InstalledPath.h"
#include "NoltRules.h"

namespace {

struct Options {
    int port = 8090;
    std::string rules = InstalledOr(NOLT_INSTALLED_RULES, NOLT_DEFAULT_RULES);
    int delayMs = 0;
};

void Usage() {
    std::cerr << "usage: nolt-server [--port N] [--rules FILE] [--delay-ms N]\n"
                 "  --port N      port on 127.0.0.1 (0: any free one); default 8090\n"
                 "  --rules FILE  rules file; default " << Options{}.rules << "\n"
                 "  --delay-ms N  wait N ms before each answer (for client timeouts)\n";
}

bool ParseNumber(const char* text, int low, int high, int& out) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (text[used] != '\0' || value < low || value > high) return false;
        out = value;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return false;
        if (i + 1 >= argc) {
            std::cerr << "nolt-server: " << arg << " needs a value\n";
            return false;
        }
        const char* value = argv[++i];
        if (arg == "--port") {
            if (!ParseNumber(value, 0, 65535, options.port)) {
                std::cerr << "nolt-server: bad port: " << value << "\n";
                return false;
            }
        } else if (arg == "--delay-ms") {
            if (!ParseNumber(value, 0, 600000, options.delayMs)) {
                std::cerr << "nolt-server: bad delay: " << value << "\n";
                return false;
            }
        } else if (arg == "--rules") {
            options.rules = value;
        } else {
            std::cerr << "nolt-server: unknown option " << arg << "\n";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        Usage();
        return 2;
    }

    std::ifstream file(options.rules, std::ios::binary);
    if (!file) {
        std::cerr << "nolt-server: cannot read " << options.rules << "\n";
        return 1;
    }
    std::ostringstream content;
    content << file.rdbuf();
    nolt::RuleSet rules;
    std::string error;
    if (!rules.Load(content.str(), error)) {
        std::cerr << "nolt-server: " << options.rules << ": " << error << "\n";
        return 1;
    }

    httplib::Server server;
    server.Get("/semantic/comprehend", [&](const httplib::Request& request, httplib::Response& response) {
        if (options.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));
        if (!request.has_param("text")) {
            response.status = 400;
            response.set_content("{\"error\":\"missing text\"}", "application/json; charset=utf-8");
            return;
        }
        const std::string text = request.get_param_value("text");
        const nolt::Reply reply = rules.Answer(text);
        std::cerr << "[" << request.get_param_value("deviceno") << "] " << text << " -> " << reply.scene << std::endl;
        response.set_content(nolt::ToJson(reply), "application/json; charset=utf-8");
    });

    const char* const host = "127.0.0.1";
    int port = options.port;
    if (port == 0) {
        port = server.bind_to_any_port(host);
        if (port <= 0) {
            std::cerr << "nolt-server: cannot bind to " << host << "\n";
            return 1;
        }
    } else if (!server.bind_to_port(host, port)) {
        std::cerr << "nolt-server: cannot bind to " << host << ":" << port << "\n";
        return 1;
    }
    // The first line tells a test which port to use, so it must not wait in a buffer.
    std::cout << "listening on " << host << ":" << port << std::endl;
    std::cerr << "nolt-server: " << rules.size() << " rules from " << options.rules << "\n";
    return server.listen_after_bind() ? 0 : 1;
}
