// The HTTP client against a loopback server that each test starts and that stops with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/HttpConfig.h"
#include "host/TextCodec.h"
#include "host/VeNet.h"
#include "vescene/vescene.h"

// After the project's headers: <windows.h> macros would clash with its own Windows names.
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

struct Reply {
    std::string bytes;
    int delayMs = 0;
};

Reply Http(int status, const std::string& body, const std::string& headers = "") {
    return {"HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(body.size()) +
            "\r\nConnection: close\r\n" + headers + "\r\n" + body};
}

// Serves one connection at a time; the reply depends on the request line ("GET /path HTTP/1.1").
// A delayed reply holds the server until it stops, so it comes last in a test.
class LoopbackServer {
public:
    using Responder = std::function<Reply(const std::string& requestLine)>;

    explicit LoopbackServer(Responder responder)
        : m_responder(std::move(responder)), m_listener(Listen(m_port)), m_thread([this] { Run(); }) {}
    ~LoopbackServer() {
        m_stop = true;
        m_thread.join();
    }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }
    std::vector<std::string> Requests() {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void Run() {
        while (!m_stop) {
            if (!Ready(m_listener.s, 20)) continue;
            OwnedSocket client(accept(m_listener.s, nullptr, nullptr));
            if (client.s != kNoSocket) Serve(client.s);
        }
    }
    void Serve(Socket client) {
        std::string request;
        char chunk[4096];
        for (int i = 0; i < 100 && request.find("\r\n\r\n") == std::string::npos && !m_stop; ++i) {
            if (!Ready(client, 20)) continue;
            const int n = recv(client, chunk, sizeof(chunk), 0);
            if (n <= 0) return;
            request.append(chunk, n);
        }
        const std::string line = request.substr(0, request.find("\r\n"));
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(line);
        }
        const Reply reply = m_responder(line);
        for (int waited = 0; waited < reply.delayMs; waited += 20) {
            if (m_stop) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        for (size_t sent = 0; sent < reply.bytes.size() && !m_stop;) {
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

    Network m_network;
    Responder m_responder;
    int m_port = 0;
    OwnedSocket m_listener;
    std::mutex m_mutex;
    std::atomic<bool> m_stop = false;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

int Get(CVeCurl& curl, std::string url) { return curl.OpenUrl_get(url); }

using Clock = std::chrono::steady_clock;
constexpr auto kBound = std::chrono::seconds(5);
// A client that waits for such a server fails the bound; the server's wait ends with the test.
constexpr int kLongerThanTheBound = 15000;

class VeCurlTest : public ::testing::Test {
protected:
    void TearDown() override {
        VeScene_SetHttpTimeouts(0, 0);
        VeScene_SetEndpoint("songsearch", nullptr);
    }
};

const std::string kJson = R"({"scene":"music","text":"周杰伦"})";
const std::string kBig(vehttp::kMaxBodyBytes + 4096, 'x');

Reply Route(const std::string& line) {
    const auto is = [&](const char* path) { return line.starts_with(std::string("GET ") + path); };
    if (is("/ok")) return Http(200, kJson);
    if (is("/moved")) return Http(302, "", "Location: /ok\r\n");
    if (is("/loop")) return Http(302, "", "Location: /loop\r\n");
    if (is("/broken")) return Http(500, "oops");
    if (is("/garbage")) return {std::string("\x01\x7f\xfe garbage\r\n\r\n{}", 16)};
    if (is("/announced"))  // refused by its header alone
        return {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kBig.size()) + "\r\nConnection: close\r\n\r\nxx"};
    if (is("/streamed")) return {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + kBig};  // ends only with the close
    if (is("/slow")) return {Http(200, "late").bytes, kLongerThanTheBound};
    return Http(404, "not here");
}

TEST_F(VeCurlTest, HitRedirectAndEveryFailureClearsTheResult) {
    LoopbackServer server(Route);
    CVeCurl curl;
    ASSERT_EQ(Get(curl, server.Url("/ok?text=%E5%91%A8&deviceno=1")), 0);
    EXPECT_EQ(curl.GetResult_utf8(), kJson);
    const std::string gbk = curl.GetResult_unicode();
    EXPECT_EQ(gbk.size(), kJson.size() - 3);  // three CJK characters: 3 bytes each in UTF-8, 2 in GBK
    EXPECT_EQ(textcodec::GbkToUtf8(gbk), kJson);
    EXPECT_EQ(CVeCurl(curl).GetResult_utf8(), kJson);
    EXPECT_EQ(server.Requests(), std::vector<std::string>{"GET /ok?text=%E5%91%A8&deviceno=1 HTTP/1.1"});

    ASSERT_EQ(Get(curl, server.Url("/moved")), 0);
    EXPECT_EQ(curl.GetResult_utf8(), kJson);
    const std::pair<const char*, int> failures[] = {
        {"/missing", vehttp::kHttpStatus}, {"/broken", vehttp::kHttpStatus},   {"/garbage", 0 /* any failure */},
        {"/announced", vehttp::kHttpTooLarge}, {"/streamed", vehttp::kHttpTooLarge},
    };
    for (const auto& [path, code] : failures) {
        ASSERT_EQ(Get(curl, server.Url("/ok")), 0);
        const int got = Get(curl, server.Url(path));
        EXPECT_TRUE(code ? got == code : got != 0) << path << ": " << got;
        EXPECT_EQ(curl.GetResult_utf8(), "") << path;
        EXPECT_EQ(curl.GetResult_unicode(), "") << path;
    }
    const size_t before = server.Requests().size();
    EXPECT_NE(Get(curl, server.Url("/loop")), 0);
    EXPECT_LE(server.Requests().size() - before, 2u + 7u);

    for (const char* url : {"file:///etc/hosts", "ftp://127.0.0.1/ok", "", "http://", "127.0.0.1/ok", "gopher://127.0.0.1/"})
        EXPECT_EQ(Get(curl, url), vehttp::kHttpBadUrl) << url;
    const size_t fetched = server.Requests().size();
    EXPECT_EQ(Get(curl, "HTTP://127.0.0.1" + server.Url("/ok").substr(16)), 0);
    EXPECT_EQ(server.Requests().size(), fetched + 1);

    VeScene_SetHttpTimeouts(300, 300);  // last: the slow reply holds the server
    const auto start = Clock::now();
    EXPECT_EQ(Get(curl, server.Url("/slow")), vehttp::kHttpTimeout);
    EXPECT_LT(Clock::now() - start, kBound);
    EXPECT_EQ(curl.GetResult_utf8(), "");
}

TEST_F(VeCurlTest, ClosedPortFailsQuickly) {
    int port = 0;
    {
        [[maybe_unused]] Network network;
        OwnedSocket gone = Listen(port);
    }
    CVeCurl curl;
    const auto start = Clock::now();
    EXPECT_EQ(Get(curl, "http://127.0.0.1:" + std::to_string(port) + "/ok"), vehttp::kHttpTransport);
    EXPECT_LT(Clock::now() - start, kBound);
}

TEST_F(VeCurlTest, EndpointsAndTimeoutsAreConfigurable) {
    for (const char* name : {"online", "songsearch"}) EXPECT_TRUE(vehttp::IsHttpUrl(vehttp::Endpoint(name))) << name;
    EXPECT_EQ(vehttp::Endpoint("nothing"), "");
    const std::string defaultSongs = vehttp::Endpoint("songsearch");

    LoopbackServer server(Route);
    EXPECT_EQ(VeScene_SetEndpoint("songsearch", (server.Url("") + "//").c_str()), 1);
    EXPECT_EQ(vehttp::Endpoint("songsearch"), server.Url(""));
    CVeCurl curl;
    EXPECT_EQ(Get(curl, vehttp::Endpoint("songsearch") + "/ok"), 0);
    EXPECT_EQ(VeScene_SetEndpoint("songsearch", "file:///tmp"), 0);
    EXPECT_EQ(vehttp::Endpoint("songsearch"), server.Url(""));
    EXPECT_EQ(VeScene_SetEndpoint(nullptr, "http://a"), VESCENE_BAD_ARGUMENT);
    EXPECT_EQ(VeScene_SetEndpoint("songsearch", ""), 1);
    EXPECT_EQ(vehttp::Endpoint("songsearch"), defaultSongs);

    VeScene_SetHttpTimeouts(4000, 1000);
    EXPECT_EQ(vehttp::GetTimeouts().connectMs, 1000);
    EXPECT_EQ(vehttp::GetTimeouts().totalMs, 1000);
    VeScene_SetHttpTimeouts(-1, 0);
    EXPECT_EQ(vehttp::GetTimeouts().connectMs, vehttp::kDefaultConnectMs);
    EXPECT_EQ(vehttp::GetTimeouts().totalMs, vehttp::kDefaultTotalMs);
}

TEST_F(VeCurlTest, AbortEndsARunningTransfer) {
#ifdef _WIN32
    GTEST_SKIP() << "WinHTTP's blocking calls see the abort only between reads; the timeouts bound them";
#endif
    LoopbackServer server(Route);
    auto result = std::async(std::launch::async, [&] {
        CVeCurl curl;
        return Get(curl, server.Url("/slow"));
    });
    for (int i = 0; i < 200 && server.Requests().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    vehttp::AbortTransfers();
    ASSERT_EQ(result.wait_for(kBound), std::future_status::ready);
    EXPECT_EQ(result.get(), vehttp::kHttpAborted);
}

}  // namespace
