// CVeCurl's transfer on Linux: libcurl.
#ifndef _WIN32

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <string>

#include "platform/HttpConfig.h"

namespace vehttp::detail {

namespace {

struct CurlCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;

struct Transfer {
    std::string body;
    unsigned long long epoch = 0;
    bool tooLarge = false;
    bool aborted = false;
};

size_t OnData(char* data, size_t size, size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const size_t length = size * count;
    if (length > kMaxBodyBytes - transfer.body.size()) {
        transfer.tooLarge = true;
        return 0;  // anything but length makes libcurl stop with CURLE_WRITE_ERROR
    }
    try {
        transfer.body.append(data, length);
    } catch (...) {
        return 0;
    }
    return length;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(user);
    transfer.aborted = transfer.epoch != TransferEpoch();
    return transfer.aborted ? 1 : 0;
}

void GlobalInit() {
    static std::once_flag once;
    // Not thread-safe in older libcurl, and the online worker may make the first request.
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

int Get(const std::string& url, std::string& body) {
    GlobalInit();
    CurlHandle handle(curl_easy_init());
    if (!handle) return kHttpTransport;
    CURL* curl = handle.get();
    Transfer transfer;
    transfer.epoch = StartEpoch();
    if (transfer.epoch != TransferEpoch()) return kHttpAborted;
    const Timeouts timeouts = GetTimeouts();

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // signals would hit whichever thread; timeouts stay exact
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connectMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.totalMs));
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxBodyBytes));
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "VeScene/1.0");
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");  // loopback never via a proxy
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);

    const CURLcode code = curl_easy_perform(curl);
    if (transfer.aborted) return kHttpAborted;
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) return kHttpTooLarge;
    switch (code) {
        case CURLE_OK:
            break;
        case CURLE_OPERATION_TIMEDOUT:
            return kHttpTimeout;
        case CURLE_URL_MALFORMAT:
            return kHttpBadUrl;
        // The scheme was checked before the transfer, so an unsupported protocol here is a
        // reply that is no HTTP at all (or a redirect elsewhere): a transport failure.
        default:
            return kHttpTransport;
    }
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) return kHttpStatus;
    body = std::move(transfer.body);
    return kHttpOk;
}

// The progress callback compares the epoch; libcurl calls it at least once a second.
void CancelRunning() {}

// libcurl calls nothing once a transfer has returned.
void LetTransfersClose(int) {}

}  // namespace vehttp::detail

#endif  // !_WIN32
