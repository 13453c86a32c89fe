// The HTTP client against a loopback server that each test starts and that stops with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
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
constexpr int kSendFlags = 0;
constexpr int kShutWrite = SD_SEND;
#else
using Socket = int;
const Socket kNoSocket = -1;
void CloseSocket(Socket s) { close(s); }
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client that hung up must not end the test run
constexpr int kShutWrite = SHUT_WR;
#endif

class OwnedSocket {
public:
    explicit OwnedSocket(Socket s) : m_s(s) {}
    ~OwnedSocket() {
        if (m_s != kNoSocket) CloseSocket(m_s);
    }
    OwnedSocket(OwnedSocket&& other) noexcept : m_s(std::exchange(other.m_s, kNoSocket)) {}
    OwnedSocket& operator=(OwnedSocket&&) = delete;
    Socket get() const { return m_s; }

private:
    Socket m_s;
};

struct Network {
#ifdef _WIN32
    Network() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Network() { WSACleanup(); }
#endif
};

bool Readable(Socket s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{0, ms * 1000};
    return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

// A listening socket on 127.0.0.1 with an ephemeral port.
OwnedSocket Listen(int& port) {
    OwnedSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (listener.get() == kNoSocket || bind(listener.get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener.get(), 8) != 0 || getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
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
class LoopbackServer {
public:
    using Responder = std::function<Reply(const std::string& requestLine)>;

    explicit LoopbackServer(Responder responder)
        : m_responder(std::move(responder)), m_listener(Listen(m_port)), m_thread([this] { Run(); }) {}

    ~LoopbackServer() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

    std::vector<std::string> Requests() {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    bool Stopping() {
        std::lock_guard lock(m_mutex);
        return m_stop;
    }

    void Run() {
        while (!Stopping()) {
            if (!Readable(m_listener.get(), 20)) continue;
            OwnedSocket client(accept(m_listener.get(), nullptr, nullptr));
            if (client.get() != kNoSocket) Serve(client.get());
        }
    }

    void Serve(Socket client) {
        std::string request;
        char chunk[4096];
        for (int i = 0; i < 100 && request.find("\r\n\r\n") == std::string::npos && !Stopping(); ++i) {
            if (!Readable(client, 20)) continue;
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
        {
            std::unique_lock lock(m_mutex);
            if (m_wake.wait_for(lock, std::chrono::milliseconds(reply.delayMs), [this] { return m_stop; })) return;
        }
        size_t sent = 0;
        while (sent < reply.bytes.size() && !Stopping()) {
            if (!Writable(client)) return;
            const int n = send(client, reply.bytes.data() + sent, static_cast<int>(std::min<size_t>(reply.bytes.size() - sent, 65536)), kSendFlags);
            if (n <= 0) return;
            sent += n;
        }
        shutdown(client, kShutWrite);
        // Lets the client read everything before the close, which could otherwise reset it.
        for (int i = 0; i < 50 && Readable(client, 20) && recv(client, chunk, sizeof(chunk), 0) > 0; ++i) {
        }
    }

    static bool Writable(Socket s) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait{2, 0};
        return select(static_cast<int>(s) + 1, nullptr, &set, nullptr, &wait) > 0;
    }

    Network m_network;
    Responder m_responder;
    int m_port = 0;
    OwnedSocket m_listener;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
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

Reply Route(const std::string& line) {
    if (line.starts_with("GET /ok")) return Http(200, kJson);
    if (line.starts_with("GET /moved")) return Http(302, "", "Location: /ok\r\n");
    if (line.starts_with("GET /loop")) return Http(302, "", "Location: /loop\r\n");
    if (line.starts_with("GET /broken")) return Http(500, "oops");
    return Http(404, "not here");
}

TEST_F(VeCurlTest, HitGivesTheBodyAsUtf8AndGbk) {
    LoopbackServer server(Route);
    CVeCurl curl;
    ASSERT_EQ(Get(curl, server.Url("/ok?text=%E5%91%A8&deviceno=1")), 0);
    EXPECT_EQ(curl.GetResult_utf8(), kJson);
    const std::string gbk = curl.GetResult_unicode();
    EXPECT_EQ(gbk.size(), kJson.size() - 3);  // three CJK characters: 3 bytes each in UTF-8, 2 in GBK
    EXPECT_EQ(textcodec::GbkToUtf8(gbk), kJson);
    EXPECT_EQ(CVeCurl(curl).GetResult_utf8(), kJson);
    EXPECT_EQ(server.Requests(), std::vector<std::string>{"GET /ok?text=%E5%91%A8&deviceno=1 HTTP/1.1"});
}

TEST_F(VeCurlTest, ErrorStatusFailsAndClearsTheResult) {
    LoopbackServer server(Route);
    CVeCurl curl;
    ASSERT_EQ(Get(curl, server.Url("/ok")), 0);
    EXPECT_EQ(Get(curl, server.Url("/missing")), vehttp::kHttpStatus);
    EXPECT_EQ(curl.GetResult_utf8(), "");
    EXPECT_EQ(Get(curl, server.Url("/broken")), vehttp::kHttpStatus);
    EXPECT_EQ(curl.GetResult_unicode(), "");
}

TEST_F(VeCurlTest, RedirectsAreFollowedButNotForever) {
    LoopbackServer server(Route);
    CVeCurl curl;
    ASSERT_EQ(Get(curl, server.Url("/moved")), 0);
    EXPECT_EQ(curl.GetResult_utf8(), kJson);
    EXPECT_NE(Get(curl, server.Url("/loop")), 0);
    EXPECT_LE(server.Requests().size(), 2u + 7u);
}

TEST_F(VeCurlTest, GarbageReplyFails) {
    LoopbackServer server([](const std::string&) { return Reply{std::string("\x01\x7f\xfe garbage\r\n\r\n{}", 16)}; });
    CVeCurl curl;
    EXPECT_NE(Get(curl, server.Url("/ok")), 0);
    EXPECT_EQ(curl.GetResult_utf8(), "");
}

TEST_F(VeCurlTest, SlowServerHitsTheTotalTimeout) {
    LoopbackServer server([](const std::string&) { return Reply{Http(200, "late").bytes, kLongerThanTheBound}; });
    VeScene_SetHttpTimeouts(300, 300);
    CVeCurl curl;
    const auto start = Clock::now();
    EXPECT_EQ(Get(curl, server.Url("/ok")), vehttp::kHttpTimeout);
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

TEST_F(VeCurlTest, OnlyHttpAndHttpsAreFetched) {
    LoopbackServer server(Route);
    CVeCurl curl;
    for (const char* url : {"file:///etc/hosts", "ftp://127.0.0.1/ok", "", "http://", "127.0.0.1/ok", "gopher://127.0.0.1/"})
        EXPECT_EQ(Get(curl, url), vehttp::kHttpBadUrl) << url;
    const std::string upper = "HTTP://127.0.0.1" + server.Url("/ok").substr(16);
    EXPECT_EQ(Get(curl, upper), 0);
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(VeCurlTest, OversizedBodyIsRefused) {
    const std::string big(vehttp::kMaxBodyBytes + 4096, 'x');
    LoopbackServer server([&](const std::string& line) {
        if (line.starts_with("GET /announced"))  // refused by its header alone
            return Reply{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(big.size()) + "\r\nConnection: close\r\n\r\nxx"};
        return Reply{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big};  // ends only with the close
    });
    CVeCurl curl;
    EXPECT_EQ(Get(curl, server.Url("/announced")), vehttp::kHttpTooLarge);
    EXPECT_EQ(Get(curl, server.Url("/streamed")), vehttp::kHttpTooLarge);
    EXPECT_EQ(curl.GetResult_utf8(), "");
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
    LoopbackServer server([](const std::string&) { return Reply{Http(200, "late").bytes, kLongerThanTheBound}; });
    auto result = std::async(std::launch::async, [&] {
        CVeCurl curl;
        return Get(curl, server.Url("/ok"));
    });
    for (int i = 0; i < 200 && server.Requests().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    vehttp::AbortTransfers();
    ASSERT_EQ(result.wait_for(kBound), std::future_status::ready);
    EXPECT_EQ(result.get(), vehttp::kHttpAborted);
}

}  // namespace
