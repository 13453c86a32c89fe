#include <memory>
#include <string>

#include "host/HttpConfig.h"
#include "host/TextCodec.h"
#include "host/VeNet.h"
#include "platform/Backend.h"

struct CVeCurl::Impl {
    std::string body;  // UTF-8 as the services send it
};

CVeCurl::CVeCurl() : m_impl(std::make_unique<Impl>()) {}

CVeCurl::~CVeCurl() = default;

CVeCurl::CVeCurl(const CVeCurl& other) : m_impl(std::make_unique<Impl>(*other.m_impl)) {}

CVeCurl& CVeCurl::operator=(const CVeCurl& other) {
    if (this != &other) *m_impl = *other.m_impl;
    return *this;
}

int CVeCurl::OpenUrl_get(std::string& url) {
    const int result = Get(url);
    vebackend::Current().NoteHttpRequest(url, result);
    return result;
}

int CVeCurl::Get(const std::string& url) {
    m_impl->body.clear();
    if (!vehttp::IsHttpUrl(url)) return vehttp::kHttpBadUrl;
    try {
        std::string body;
        const int result = vehttp::detail::Get(url, body);
        if (result == vehttp::kHttpOk) m_impl->body = std::move(body);
        return result;
    } catch (...) {  // the host's thread must not see an exception from a failed request
        m_impl->body.clear();
        return vehttp::kHttpTransport;
    }
}

std::string CVeCurl::GetResult_utf8() { return m_impl->body; }

std::string CVeCurl::GetResult_unicode() { return textcodec::Utf8ToGbk(m_impl->body); }
