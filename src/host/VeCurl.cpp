#include <string>

#include "host/VeNet.h"
#include "platform/Backend.h"
#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"

// The body is declared after the pointer, so the pointer is aimed once the body exists.
CVeCurl::CVeCurl() : m_pDownloadData(nullptr) { m_pDownloadData = reinterpret_cast<unsigned char*>(m_strBody.data()); }

CVeCurl::~CVeCurl() = default;

// The download pointer is re-aimed at the copy's own body, never shared with the source.
CVeCurl::CVeCurl(const CVeCurl& other)
    : m_strUrl(other.m_strUrl),
      m_pDownloadData(nullptr),
      m_nDownloadDataLen(other.m_nDownloadDataLen),
      m_nResult(other.m_nResult),
      m_strBody(other.m_strBody),
      m_nConnectTimeoutMs(other.m_nConnectTimeoutMs),
      m_nTotalTimeoutMs(other.m_nTotalTimeoutMs) {
    m_pDownloadData = reinterpret_cast<unsigned char*>(m_strBody.data());
}

CVeCurl& CVeCurl::operator=(const CVeCurl& other) {
    if (this == &other) return *this;
    m_strUrl = other.m_strUrl;
    m_nResult = other.m_nResult;
    SetBody(other.m_strBody);
    m_nConnectTimeoutMs = other.m_nConnectTimeoutMs;
    m_nTotalTimeoutMs = other.m_nTotalTimeoutMs;
    return *this;
}

void CVeCurl::SetBody(std::string body) {
    m_strBody = std::move(body);
    m_pDownloadData = reinterpret_cast<unsigned char*>(m_strBody.data());
    m_nDownloadDataLen = static_cast<unsigned int>(m_strBody.size());
}

unsigned char* CVeCurl::GetDownloadData() { return m_pDownloadData; }
unsigned int CVeCurl::GetDownloadDataLen() const { return m_nDownloadDataLen; }

int CVeCurl::OpenUrl_get(std::string& url) {
    const int result = Get(url);
    vebackend::Current().NoteHttpRequest(url, result);
    return result;
}

int CVeCurl::Get(const std::string& url) {
    SetBody({});
    m_nResult = vehttp::kHttpTransport;
    try {
        m_strUrl = url;
        const vehttp::Timeouts timeouts = vehttp::GetTimeouts();
        m_nConnectTimeoutMs = timeouts.connectMs;
        m_nTotalTimeoutMs = timeouts.totalMs;
        if (!vehttp::IsHttpUrl(url)) return m_nResult = vehttp::kHttpBadUrl;
        std::string body;
        m_nResult = vehttp::detail::Get(url, body);
        if (m_nResult == vehttp::kHttpOk) SetBody(std::move(body));
    } catch (...) {  // the host's thread must not see an exception from a failed request
        SetBody({});
        m_nResult = vehttp::kHttpTransport;
    }
    return m_nResult;
}

std::string CVeCurl::GetResult_utf8() { return m_strBody; }

std::string CVeCurl::GetResult_unicode() { return textcodec::Utf8ToGbk(m_strBody); }
