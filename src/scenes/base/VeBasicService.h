#pragma once
// A scene: made by a registry for one utterance, given the text, asked to Parse the document
// and to Execute, then destroyed by the dispatcher that asked for it.
#include <string>

#include "core/HostTypes.h"
#include "host/VeJson.h"
#include "platform/WinTypes.h"

class VeBasicService {
public:
    virtual ~VeBasicService() = default;
    virtual void Parse(VeJson& doc) = 0;
    // Non-zero when the utterance was carried out.
    virtual int Execute() = 0;

    void SetText(std::string text) { m_stdText = std::move(text); }

    std::string m_stdService;  // the registry key it was made for
    std::string m_stdText;     // the utterance, GBK
    LogType m_logType = LogType_Base;
    vewin::HICON m_hIcon = nullptr;

protected:
    VeBasicService() = default;
    explicit VeBasicService(LogType logType) : m_logType(logType) {}
};
