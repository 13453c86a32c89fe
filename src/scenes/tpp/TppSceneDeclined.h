#pragma once
// The action types nothing local carries out, and the one way every TPP scene declines: the
// dispatcher then hands the utterance to the online semantic service.
#include "scenes/base/VeBasicService.h"

inline int DeclineTppScene(LogType& logType) {
    logType = LogType_NotCarriedOut;
    return 0;
}

class TppSceneDeclined : public VeBasicService {
public:
    void Parse(VeJson&) override {}
    int Execute() override { return DeclineTppScene(m_logType); }

protected:
    TppSceneDeclined() : VeBasicService(LogType_Base) {}
};
