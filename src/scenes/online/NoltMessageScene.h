#pragma once
// What every online reply that carries a "message" shares: reading it and, where the message
// is a page to show, opening it.
#include <string>

#include "scenes/base/VeBasicService.h"

class NoltMessageScene : public VeBasicService {
public:
    void Parse(VeJson& doc) override;

    std::string m_stdMessage;

protected:
    explicit NoltMessageScene(LogType logType) : VeBasicService(logType) {}

    // Opens the message as a web page. The reply comes from the network, so anything but an
    // http or https address (a program, a file, a command line) is refused: 0, logged as
    // not carried out.
    int OpenMessageUrl();
};

// The value of the reply's entity whose name is `name`, empty when there is none.
std::string NoltEntity(const VeJson& doc, const char* name);
