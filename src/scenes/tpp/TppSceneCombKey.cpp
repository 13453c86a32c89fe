#include "scenes/tpp/TppSceneCombKey.h"

#include <string>

#include "keyboard/KeyPlayer.h"
#include "scenes/tpp/TppSceneDeclined.h"

int TppSceneCombKey::Execute() {
    // Next track, previous track, play/pause: no other key may be pressed on a result's word.
    static constexpr vewin::BYTE kMediaKeys[] = {176, 177, 179};
    for (vewin::BYTE vk : kMediaKeys) {
        if (m_stdContent == std::to_string(vk)) {
            TapMediaKey(vk);
            return 1;
        }
    }
    return DeclineTppScene(m_logType);
}
