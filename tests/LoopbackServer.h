#pragma once
// A loopback HTTP server for tests: serves one connection at a time on 127.0.0.1 with an
// ephemeral port, answers each request line through a responder and records the lines.
// Raw sockets, so it runs on Linux and under Wine; the socket headers stay in its .cpp.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vetest {

struct Reply {
    std::string bytes;
    int delayMs = 0;  // before anything is sent
};

// A complete HTTP reply with that status and body.
Reply Http(int status, const std::string& body, const std::string& headers = "");

// A port on 127.0.0.1 that nothing listens on (bound a moment ago and closed again).
int ClosedPort();

// The reply depends on the request line ("GET /path HTTP/1.1"). A delayed reply holds the
// server until it stops, so it comes last in a test.
class LoopbackServer {
public:
    using Responder = std::function<Reply(const std::string& requestLine)>;

    explicit LoopbackServer(Responder responder);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string Url(const std::string& path) const;
    std::vector<std::string> Requests() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace vetest
