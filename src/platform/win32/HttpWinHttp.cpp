// CVeCurl's transfer on Windows: WinHTTP in asynchronous mode, so that every step can be
// waited for together with the deadline and an abort; a synchronous call could be stopped by
// neither.
#ifdef _WIN32

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"
#include "platform/win32/Win32Support.h"

namespace vehttp::detail {

namespace {

// A WinHTTP session, connection or request. Closing a request cancels what is pending on it;
// its callback still gets the handle-closing notice afterwards, on WinHTTP's own thread.
using Internet = vecore::UniqueAny<vecore::NullTraits<HINTERNET, ::WinHttpCloseHandle>>;

using Clock = std::chrono::steady_clock;

// WinHTTP has per-step timeouts only; the whole transfer has one deadline, and each wait gets what is left.
class Deadline {
public:
    explicit Deadline(int totalMs) : m_end(Clock::now() + std::chrono::milliseconds(totalMs)) {}
    int LeftMs() const {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_end - Clock::now()).count();
        return static_cast<int>(std::max<long long>(left, 0));
    }

private:
    Clock::time_point m_end;
};

int Failure(DWORD error) {
    switch (error) {
        case ERROR_WINHTTP_TIMEOUT:
            return kHttpTimeout;
        case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
        case ERROR_WINHTTP_INVALID_URL:
            return kHttpBadUrl;
        default:
            return kHttpTransport;
    }
}

using vewin32::UniqueEvent;
UniqueEvent NewEvent() { return UniqueEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)); }

// What a request's callbacks report. WinHTTP calls back on its own threads until the
// handle-closing notice, which may come long after the transfer gave up (a stalled server), so
// the registry, not the transfer, keeps this alive until then.
struct CallbackState {
    UniqueEvent stepDone = NewEvent();
    UniqueEvent abort = NewEvent();
    // Written by a callback before it sets stepDone, read after the wait for it.
    DWORD error = 0;
    DWORD read = 0;
    // A read still pending when the transfer gives up writes here later, so it lives here too.
    std::array<char, 16384> buffer{};
};

class LiveStates {
public:
    static LiveStates& Get() {
        static LiveStates live;
        return live;
    }
    void Add(std::shared_ptr<CallbackState> state) {
        std::lock_guard lock(m_mutex);
        m_states.push_back(std::move(state));
    }
    void Remove(const CallbackState* state) {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_states, [&](const auto& live) { return live.get() == state; });
        if (m_states.empty()) m_drained.notify_all();
    }
    // True once no state is listed: no notice is still to come.
    bool WaitUntilEmpty(int milliseconds) {
        std::unique_lock lock(m_mutex);
        return m_drained.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return m_states.empty(); });
    }
    // AbortTransfers: every transfer waiting now gives up at once.
    void AbortAll() {
        std::lock_guard lock(m_mutex);
        for (const auto& state : m_states) SetEvent(state->abort.get());
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_drained;
    std::vector<std::shared_ptr<CallbackState>> m_states;
};

// Keeps this library loaded until the process ends: a notice that did not come in time may
// still come, and must not find the library unloaded.
void PinLibrary() {
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&PinLibrary), &self);
}

// One asynchronous request; closing it cancels what is pending.
class AsyncRequest {
public:
    AsyncRequest(HINTERNET connection, const std::wstring& path, DWORD flags)
        : m_state(std::make_shared<CallbackState>()) {
        if (!m_state->stepDone || !m_state->abort) return;
        m_request.reset(WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
        if (!m_request) return;
        LiveStates::Get().Add(m_state);
        DWORD_PTR context = reinterpret_cast<DWORD_PTR>(m_state.get());
        if (WinHttpSetStatusCallback(m_request.get(), &AsyncRequest::OnStatus,
                                     WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                                     0) == WINHTTP_INVALID_STATUS_CALLBACK ||
            !WinHttpSetOption(m_request.get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context))) {
            // Without the context no callback reaches the state, the closing notice neither:
            // close first, then unlist the state here.
            m_request.reset();
            LiveStates::Get().Remove(m_state.get());
        }
    }
    // The request closes first (m_request is the last member), while this transfer still
    // holds its state too; the registry keeps the state until the closing notice, which may come
    // after the transfer returned (LetTransfersClose waits for it before an unload).
    ~AsyncRequest() = default;
    AsyncRequest(const AsyncRequest&) = delete;
    AsyncRequest& operator=(const AsyncRequest&) = delete;

    HINTERNET Handle() const { return m_request.get(); }

    // Starts a step and waits for its completion, the abort or the deadline. kHttpOk when the
    // step completed; Received() then holds what a read delivered.
    template <typename Start>
    int Step(const Deadline& deadline, Start start) {
        if (WaitForSingleObject(m_state->abort.get(), 0) == WAIT_OBJECT_0) return kHttpAborted;
        m_state->error = 0;
        m_state->read = 0;
        if (!start()) return Failure(GetLastError());
        const HANDLE events[] = {m_state->stepDone.get(), m_state->abort.get()};
        switch (WaitForMultipleObjects(2, events, FALSE, static_cast<DWORD>(deadline.LeftMs()))) {
            case WAIT_OBJECT_0:
                return m_state->error ? Failure(m_state->error) : kHttpOk;
            case WAIT_OBJECT_0 + 1:
                return kHttpAborted;
            case WAIT_TIMEOUT:
                return kHttpTimeout;
            default:
                return kHttpTransport;
        }
    }
    // The bytes the last completed read delivered.
    std::string_view Received() const {
        return {m_state->buffer.data(), std::min<size_t>(m_state->read, m_state->buffer.size())};
    }
    char* Buffer() { return m_state->buffer.data(); }
    static constexpr DWORD kBufferSize = sizeof(CallbackState::buffer);

private:
    static void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
        auto* state = reinterpret_cast<CallbackState*>(context);
        if (!state) return;
        switch (status) {
            case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
            case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
                SetEvent(state->stepDone.get());
                break;
            case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
                state->read = length;
                SetEvent(state->stepDone.get());
                break;
            case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR: {
                const DWORD error = static_cast<const WINHTTP_ASYNC_RESULT*>(info)->dwError;
                state->error = error ? error : ERROR_WINHTTP_INTERNAL_ERROR;
                SetEvent(state->stepDone.get());
                break;
            }
            case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
                LiveStates::Get().Remove(state);  // the last notice: nothing reaches the state after it
                break;
            default:
                break;
        }
    }

    std::shared_ptr<CallbackState> m_state;
    Internet m_request;  // after m_state: destroyed, so closed, before the transfer lets go of it
};

}  // namespace

int Get(const std::string& url, std::string& body) {
    const unsigned long long epoch = StartEpoch();
    if (epoch != TransferEpoch()) return kHttpAborted;
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

    // The user's proxy and automatic configuration (PAC) where Windows has it (8.1 and later),
    // else the machine's WinHTTP proxy.
    Internet session(WinHttpOpen(L"VeScene/1.0", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
    if (!session)
        session.reset(WinHttpOpen(L"VeScene/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
    if (!session) return kHttpTransport;
    // The steps' own timeouts only back up the deadline the waits keep.
    const int connectMs = std::min(timeouts.connectMs, timeouts.totalMs);
    WinHttpSetTimeouts(session.get(), connectMs, connectMs, timeouts.totalMs, timeouts.totalMs);
    Internet connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection) return Failure(GetLastError());
    AsyncRequest request(connection.get(), path, parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    if (!request.Handle()) return Failure(GetLastError());
    // An abort from before the request was listed is seen here; later ones set its event.
    if (epoch != TransferEpoch()) return kHttpAborted;
    HINTERNET handle = request.Handle();
    DWORD redirects = 5;
    WinHttpSetOption(handle, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects, sizeof(redirects));

    int result = request.Step(deadline, [&] {
        return WinHttpSendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0);
    });
    if (result == kHttpOk) result = request.Step(deadline, [&] { return WinHttpReceiveResponse(handle, nullptr); });
    if (result != kHttpOk) return result;

    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!WinHttpQueryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                             &status, &size, WINHTTP_NO_HEADER_INDEX))
        return kHttpTransport;
    if (status < 200 || status > 299) return kHttpStatus;
    DWORD announced = 0;
    size = sizeof(announced);
    if (WinHttpQueryHeaders(handle, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX) &&
        announced > kMaxBodyBytes)
        return kHttpTooLarge;

    std::string received;
    for (;;) {
        result = request.Step(deadline, [&] {
            return WinHttpReadData(handle, request.Buffer(), AsyncRequest::kBufferSize, nullptr);
        });
        if (result != kHttpOk) return result;
        const std::string_view chunk = request.Received();
        if (chunk.empty()) break;
        if (chunk.size() > kMaxBodyBytes - received.size()) return kHttpTooLarge;
        received += chunk;
    }
    body = std::move(received);
    return kHttpOk;
}

void CancelRunning() { LiveStates::Get().AbortAll(); }

void LetTransfersClose(int milliseconds) {
    if (!LiveStates::Get().WaitUntilEmpty(milliseconds)) PinLibrary();
}

}  // namespace vehttp::detail

#endif  // _WIN32
