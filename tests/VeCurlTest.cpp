// The HTTP client against a loopback server that each test starts and that stops with it.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"
#include "host/VeNet.h"
#include "vescene/vescene.h"

#include "LoopbackServer.h"
#include "TestSupport.h"

namespace {

using namespace vetest;

int Get(CVeCurl& curl, std::string url) { return curl.OpenUrl_get(url); }
using Clock = std::chrono::steady_clock;
constexpr auto kBound = std::chrono::seconds(5);
// A client that waits for such a server fails the bound; the server's wait ends with the test.
constexpr int kLongerThanTheBound = 15000;

class VeCurlTest : public ::testing::Test {
protected:
    void TearDown() override {
        VeScene_SetHttpTimeouts(0, 0);
        VeScene_SetEndpoint("songsearch", vetest::kNoOnlineService);
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

TEST_F(VeCurlTest, HitRedirectAndEveryFailureClearsTheResultQuickly) {
    LoopbackServer server(Route);
    CVeCurl curl;
    ASSERT_EQ(Get(curl, server.Url("/ok?text=%E5%91%A8&deviceno=1")), 0);
    EXPECT_EQ(curl.GetResult_utf8(), kJson);
    EXPECT_EQ(textcodec::GbkToUtf8(curl.GetResult_unicode()), kJson);
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

    for (const char* url : {"file:///etc/hosts", "ftp://127.0.0.1/ok", "", "http://", "127.0.0.1/ok"})
        EXPECT_EQ(Get(curl, url), vehttp::kHttpBadUrl) << url;
    EXPECT_EQ(Get(curl, "HTTP://127.0.0.1" + server.Url("/ok").substr(16)), 0);  // schemes ignore case

    auto start = Clock::now();
    EXPECT_EQ(Get(curl, "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/ok"), vehttp::kHttpTransport);
    EXPECT_LT(Clock::now() - start, kBound);

    VeScene_SetHttpTimeouts(300, 300);  // last: the slow reply holds the server
    start = Clock::now();
    EXPECT_EQ(Get(curl, server.Url("/slow")), vehttp::kHttpTimeout);
    EXPECT_LT(Clock::now() - start, kBound);
    EXPECT_EQ(curl.GetResult_utf8(), "");
}

TEST_F(VeCurlTest, EndpointsAndTimeoutsAreConfigurable) {
    // Nothing goes online until the host names the service.
    EXPECT_EQ(VeScene_SetEndpoint("online", nullptr), 1);
    EXPECT_EQ(vehttp::Endpoint("online"), "");
    EXPECT_EQ(VeScene_SetEndpoint("songsearch", nullptr), 1);
    EXPECT_EQ(vehttp::Endpoint("songsearch"), "");
    EXPECT_EQ(vehttp::Endpoint("nothing"), "");

    LoopbackServer server(Route);
    EXPECT_EQ(VeScene_SetEndpoint("songsearch", (server.Url("") + "//").c_str()), 1);
    EXPECT_EQ(vehttp::Endpoint("songsearch"), server.Url(""));
    CVeCurl curl;
    EXPECT_EQ(Get(curl, vehttp::Endpoint("songsearch") + "/ok"), 0);
    EXPECT_EQ(VeScene_SetEndpoint("songsearch", "file:///tmp"), 0);
    EXPECT_EQ(vehttp::Endpoint("songsearch"), server.Url(""));  // unchanged
    for (const char* name : {static_cast<const char*>(nullptr), ""})
        EXPECT_EQ(VeScene_SetEndpoint(name, "http://a"), VESCENE_BAD_ARGUMENT);
    EXPECT_EQ(VeScene_SetEndpoint("songsearch", ""), 1);  // none again: nothing built in
    EXPECT_EQ(vehttp::Endpoint("songsearch"), "");

    VeScene_SetHttpTimeouts(4000, 1000);  // no connect outlasts the whole transfer
    EXPECT_EQ(vehttp::GetTimeouts().connectMs, 1000);
    VeScene_SetHttpTimeouts(-1, 0);
    EXPECT_EQ(vehttp::GetTimeouts().connectMs, vehttp::kDefaultConnectMs);
    EXPECT_EQ(vehttp::GetTimeouts().totalMs, vehttp::kDefaultTotalMs);
}

TEST_F(VeCurlTest, AbortEndsARunningTransfer) {
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
