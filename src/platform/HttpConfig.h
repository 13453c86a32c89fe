#pragma once
// Settings of the host's HTTP client (CVeCurl): timeouts, the body cap and the named service
// endpoints. Process-wide and thread-safe: the online worker reads them while the host sets them.
#include <cstddef>
#include <string>
#include <string_view>

namespace vehttp {

inline constexpr int kDefaultConnectMs = 3000;
inline constexpr int kDefaultTotalMs = 5000;
// A reply larger than this is refused, not truncated: a cut JSON document is worse than none.
inline constexpr std::size_t kMaxBodyBytes = std::size_t{8} << 20;

// Results of CVeCurl::OpenUrl_get.
enum HttpResult : int {
    kHttpOk = 0,
    kHttpBadUrl = 1,     // not an http or https URL
    kHttpTransport = 2,  // resolve, connect, send or a malformed reply
    kHttpTimeout = 3,
    kHttpStatus = 4,     // the server answered, but not with 2xx
    kHttpTooLarge = 5,
    kHttpAborted = 6,    // AbortTransfers
};

struct Timeouts {
    int connectMs;
    int totalMs;
};

// A value <= 0 restores that default; the connect timeout never exceeds the total one.
void SetTimeouts(int connectMs, int totalMs);
Timeouts GetTimeouts();

// "songsearch" (the song search) has a default; "online" (the online semantic service) has none,
// so nothing is sent there until the host names it.
// The url must be http or https with a valid host (weburl::ParseWebUrl); trailing slashes are
// dropped so callers append "/path".
// An empty url restores the default (or removes a name without one). False when refused.
bool SetEndpoint(std::string_view name, std::string_view url);
// The base URL of the name, "" when unknown. A name the host did not set is looked up in the
// endpoint source, when there is one.
std::string Endpoint(std::string_view name);
// Where endpoints the host did not set through SetEndpoint come from: on Windows the "endpoints"
// table of the host configuration file. The source's URL is checked as SetEndpoint checks it.
using EndpointSource = std::string (*)(std::string_view name);
void SetEndpointSource(EndpointSource source);

// True for a URL whose scheme is http or https (any case).
bool IsHttpUrl(std::string_view url);

// Makes every transfer running now fail soon with kHttpAborted; later ones are unaffected.
// The online worker's cooperative stop uses it.
void AbortTransfers();
// Before the library is unloaded: waits, at most `milliseconds`, until the HTTP client makes no
// more calls into the library for the transfers that ended (WinHTTP's closing notices come
// from its own threads after a transfer returns); when they do not all come in time, the
// library stays loaded until the process ends.
void LetTransfersClose(int milliseconds);
unsigned long long TransferEpoch();
// The epoch a transfer starting now belongs to: TransferEpoch(), or the one pinned on this
// thread, so that a request prepared before an abort is aborted however late it starts.
unsigned long long StartEpoch();
class PinnedTransferEpoch {
public:
    explicit PinnedTransferEpoch(unsigned long long epoch);
    ~PinnedTransferEpoch();
    PinnedTransferEpoch(const PinnedTransferEpoch&) = delete;
    PinnedTransferEpoch& operator=(const PinnedTransferEpoch&) = delete;

private:
    unsigned long long m_epoch;
    const unsigned long long* m_previous;
};

namespace detail {
// The platform's GET (libcurl or WinHTTP) with the settings above; fills body only on success.
int Get(const std::string& url, std::string& body);
// Wakes the transfers running now so they see the abort at once.
void CancelRunning();
void LetTransfersClose(int milliseconds);
}  // namespace detail

}  // namespace vehttp
