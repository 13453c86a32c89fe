#include "LoopbackServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

// Only here, so that tests may include the header anywhere: <windows.h> macros would clash
// with the project's own Windows names.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace vetest {
namespace {

#ifdef _WIN32
using Socket = SOCKET;
const Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s) { closesocket(s); }
constexpr int kSendFlags = 0, kShutWrite = SD_SEND;
struct Network {
    Network() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Network() { WSACleanup(); }
};
#else
using Socket = int;
const Socket kNoSocket = -1;
void CloseSocket(Socket s) { close(s); }
constexpr int kSendFlags = MSG_NOSIGNAL, kShutWrite = SHUT_WR;  // a client that hung up must not end the run
struct Network {};
#endif

struct OwnedSocket {
    Socket s;
    explicit OwnedSocket(Socket socket) : s(socket) {}
    ~OwnedSocket() {
        if (s != kNoSocket) CloseSocket(s);
    }
    OwnedSocket(OwnedSocket&& other) noexcept : s(std::exchange(other.s, kNoSocket)) {}
};

// Whether `s` becomes readable (or, with `write`, writable) within `ms`.
bool Ready(Socket s, int ms, bool write = false) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    return select(static_cast<int>(s) + 1, write ? nullptr : &set, write ? &set : nullptr, nullptr, &wait) > 0;
}

// A listening socket on 127.0.0.1 with an ephemeral port.
OwnedSocket Listen(int& port) {
    OwnedSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (listener.s == kNoSocket || bind(listener.s, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener.s, 8) != 0 || getsockname(listener.s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        ADD_FAILURE() << "no loopback socket";
    port = ntohs(address.sin_port);
    return listener;
}

}  // namespace

struct LoopbackServer::Impl {
    explicit Impl(Responder responder) : responder(std::move(responder)), listener(Listen(port)) {}

    void Run() {
        while (!stop) {
            if (!Ready(listener.s, 20)) continue;
            OwnedSocket client(accept(listener.s, nullptr, nullptr));
            if (client.s != kNoSocket) Serve(client.s);
        }
    }
    void Serve(Socket client) {
        std::string request;
        char chunk[4096];
        for (int i = 0; i < 100 && request.find("\r\n\r\n") == std::string::npos && !stop; ++i) {
            if (!Ready(client, 20)) continue;
            const int n = recv(client, chunk, sizeof(chunk), 0);
            if (n <= 0) return;
            request.append(chunk, n);
        }
        const std::string line = request.substr(0, request.find("\r\n"));
        {
            std::lock_guard lock(mutex);
            requests.push_back(line);
        }
        const Reply reply = responder(line);
        for (int waited = 0; waited < reply.delayMs; waited += 20) {
            if (stop) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        for (size_t sent = 0; sent < reply.bytes.size() && !stop;) {
            if (!Ready(client, 2000, true)) return;
            const int n = send(client, reply.bytes.data() + sent,
                               static_cast<int>(std::min<size_t>(reply.bytes.size() - sent, 65536)), kSendFlags);
            if (n <= 0) return;
            sent += n;
        }
        shutdown(client, kShutWrite);
        // Lets the client read everything before the close, which could otherwise reset it.
        for (int i = 0; i < 50 && Ready(client, 20) && recv(client, chunk, sizeof(chunk), 0) > 0; ++i) {
        }
    }

    Network network;
    Responder responder;
    int port = 0;
    OwnedSocket listener;
    std::mutex mutex;
    std::atomic<bool> stop = false;
    std::vector<std::string> requests;
    std::thread thread;  // last: started once everything it reads exists
};

LoopbackServer::LoopbackServer(Responder responder) : m_impl(std::make_unique<Impl>(std::move(responder))) {
    m_impl->thread = std::thread([impl = m_impl.get()] { impl->Run(); });
}

LoopbackServer::~LoopbackServer() {
    m_impl->stop = true;
    m_impl->thread.join();
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_impl->port) + path;
}

std::vector<std::string> LoopbackServer::Requests() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->requests;
}

Reply Http(int status, const std::string& body, const std::string& headers) {
    return {"HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(body.size()) +
            "\r\nConnection: close\r\n" + headers + "\r\n" + body};
}

int ClosedPort() {
    int port = 0;
    [[maybe_unused]] Network network;
    OwnedSocket gone = Listen(port);
    return port;
}

}  // namespace vetest
