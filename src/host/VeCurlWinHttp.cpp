// CVeCurl's transfer on Windows: WinHTTP, synchronous.
#ifdef _WIN32

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "host/HttpConfig.h"
#include "host/TextCodec.h"

namespace vehttp::detail {

namespace {

struct InternetClose {
    void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using Internet = std::unique_ptr<void, InternetClose>;

using Clock = std::chrono::steady_clock;

// WinHTTP has per-step timeouts only; each step gets what is left of the total.
class Deadline {
public:
    explicit Deadline(int totalMs) : m_end(Clock::now() + std::chrono::milliseconds(totalMs)) {}
    int LeftMs() const {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_end - Clock::now()).count();
        return static_cast<int>(std::max<long long>(left, 0));
    }
    bool Passed() const { return LeftMs() <= 0; }

private:
    Clock::time_point m_end;
};

bool Limit(HINTERNET request, int connectMs, const Deadline& deadline) {
    const int left = std::max(deadline.LeftMs(), 1);
    // Waiting for the headers has its own timeout (90 s by default), apart from the receive one.
    DWORD headersMs = static_cast<DWORD>(left);
    return WinHttpSetTimeouts(request, std::min(connectMs, left), std::min(connectMs, left), left, left) &&
           WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headersMs, sizeof(headersMs));
}

int Failure() {
    switch (GetLastError()) {
        case ERROR_WINHTTP_TIMEOUT:
            return kHttpTimeout;
        case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
        case ERROR_WINHTTP_INVALID_URL:
            return kHttpBadUrl;
        default:
            return kHttpTransport;
    }
}

}  // namespace

int Get(const std::string& url, std::string& body) {
    const unsigned long long epoch = TransferEpoch();
    const Timeouts timeouts = GetTimeouts();
    const Deadline deadline(timeouts.totalMs);

    const std::u16string url16 = textcodec::Utf8ToUtf16(url);
    const std::wstring wideUrl(url16.begin(), url16.end());
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wideUrl.c_str(), static_cast<DWORD>(wideUrl.size()), 0, &parts)) return kHttpBadUrl;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return kHttpBadUrl;
    if (!parts.lpszHostName || parts.dwHostNameLength == 0) return kHttpBadUrl;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path;
    if (parts.lpszUrlPath) path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) {
        // The fragment is the client's; it is never sent.
        const std::wstring extra(parts.lpszExtraInfo, parts.dwExtraInfoLength);
        path += extra.substr(0, extra.find(L'#'));
    }
    if (path.empty() || path.front() != L'/') path.insert(path.begin(), L'/');

    Internet session(WinHttpOpen(L"VeScene/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return kHttpTransport;
    Internet connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection) return Failure();
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    Internet request(WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES, secure));
    if (!request) return Failure();
    DWORD redirects = 5;
    WinHttpSetOption(request.get(), WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects, sizeof(redirects));

    if (!Limit(request.get(), timeouts.connectMs, deadline)) return kHttpTransport;
    if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return Failure();
    if (deadline.Passed()) return kHttpTimeout;
    if (!Limit(request.get(), timeouts.connectMs, deadline) || !WinHttpReceiveResponse(request.get(), nullptr))
        return deadline.Passed() ? kHttpTimeout : Failure();
    if (epoch != TransferEpoch()) return kHttpAborted;

    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return kHttpTransport;
    if (status < 200 || status > 299) return kHttpStatus;
    DWORD announced = 0;
    size = sizeof(announced);
    if (WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX) &&
        announced > kMaxBodyBytes)
        return kHttpTooLarge;

    std::string received;
    std::array<char, 16384> chunk;
    for (;;) {
        if (epoch != TransferEpoch()) return kHttpAborted;
        if (deadline.Passed()) return kHttpTimeout;
        if (!Limit(request.get(), timeouts.connectMs, deadline)) return kHttpTransport;
        DWORD read = 0;
        if (!WinHttpReadData(request.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read))
            return deadline.Passed() ? kHttpTimeout : Failure();
        if (read == 0) break;
        if (read > kMaxBodyBytes - received.size()) return kHttpTooLarge;
        received.append(chunk.data(), read);
    }
    body = std::move(received);
    return kHttpOk;
}

}  // namespace vehttp::detail

#endif  // _WIN32
