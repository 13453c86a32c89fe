#include "platform/HttpConfig.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <map>
#include <mutex>
#include <optional>

#include "platform/Url.h"

namespace vehttp {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

struct Config {
    std::mutex mutex;
    Timeouts timeouts{kDefaultConnectMs, kDefaultTotalMs};
    std::map<std::string, std::string, std::less<>> endpoints;  // none built in: the host names each
    EndpointSource source = nullptr;
};

Config& State() {
    static Config config;
    return config;
}

// An endpoint's URL without trailing slashes, when it is a web address with a valid host: the
// pages built on it take their host from it. A query or fragment would swallow the path and
// text appended to it.
std::optional<std::string> Checked(std::string_view url) {
    while (url.ends_with('/')) url.remove_suffix(1);
    if (url.empty() || url.find_first_of("?#") != std::string_view::npos) return std::nullopt;
    return weburl::ParseWebUrl(url);
}

std::atomic<unsigned long long> g_epoch{0};
thread_local const unsigned long long* t_pinnedEpoch = nullptr;

}  // namespace

void SetTimeouts(int connectMs, int totalMs) {
    Timeouts t{connectMs > 0 ? connectMs : kDefaultConnectMs, totalMs > 0 ? totalMs : kDefaultTotalMs};
    t.connectMs = std::min(t.connectMs, t.totalMs);
    std::lock_guard lock(State().mutex);
    State().timeouts = t;
}

Timeouts GetTimeouts() {
    std::lock_guard lock(State().mutex);
    return State().timeouts;
}

bool IsHttpUrl(std::string_view url) {
    const std::string head = Lower(url.substr(0, 8));
    return (head.starts_with("http://") && url.size() > 7) || (head.starts_with("https://") && url.size() > 8);
}

bool SetEndpoint(std::string_view name, std::string_view url) {
    if (name.empty()) return false;
    auto& state = State();
    if (url.empty()) {
        std::lock_guard lock(state.mutex);
        if (auto it = state.endpoints.find(name); it != state.endpoints.end()) state.endpoints.erase(it);
        return true;
    }
    auto parsed = Checked(url);
    if (!parsed) return false;
    std::lock_guard lock(state.mutex);
    state.endpoints.insert_or_assign(std::string(name), std::move(*parsed));
    return true;
}

std::string Endpoint(std::string_view name) {
    EndpointSource source;
    {
        std::lock_guard lock(State().mutex);
        auto it = State().endpoints.find(name);
        if (it != State().endpoints.end()) return it->second;
        source = State().source;
    }
    // Read outside the lock: the source may read a file.
    if (!source) return {};
    return Checked(source(name)).value_or(std::string());
}

void SetEndpointSource(EndpointSource source) {
    std::lock_guard lock(State().mutex);
    State().source = source;
}

void AbortTransfers() {
    g_epoch.fetch_add(1);
    detail::CancelRunning();
}

void LetTransfersClose(int milliseconds) { detail::LetTransfersClose(milliseconds); }

unsigned long long TransferEpoch() { return g_epoch.load(); }

unsigned long long StartEpoch() { return t_pinnedEpoch ? *t_pinnedEpoch : TransferEpoch(); }

PinnedTransferEpoch::PinnedTransferEpoch(unsigned long long epoch) : m_epoch(epoch), m_previous(t_pinnedEpoch) {
    t_pinnedEpoch = &m_epoch;
}

PinnedTransferEpoch::~PinnedTransferEpoch() { t_pinnedEpoch = m_previous; }

}  // namespace vehttp
