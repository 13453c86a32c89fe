// Volume of the default playback endpoint through Core Audio.
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Support.h"

#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <algorithm>
#include <cmath>

namespace vewin32 {
namespace {

constexpr int kStep = 10;        // one spoken "louder" or "softer"
constexpr int kStepUp = 200;     // the library's codes for one step
constexpr int kStepDown = -200;

int Percent(IAudioEndpointVolume* volume) {
    float scalar = 0;
    if (FAILED(volume->GetMasterVolumeLevelScalar(&scalar))) return -1;
    return static_cast<int>(std::lround(std::clamp(scalar, 0.0f, 1.0f) * 100));
}

}  // namespace

int SetVolume(int level, bool muteSwitch) {
    ComScope com;
    if (!com.Usable()) return -1;
    UniqueCom<IMMDeviceEnumerator> devices;
    UniqueCom<IMMDevice> speakers;
    UniqueCom<IAudioEndpointVolume> volume;
    if (FAILED(::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                  devices.put_void())) ||
        FAILED(devices->GetDefaultAudioEndpoint(eRender, eConsole, speakers.put())) ||
        FAILED(speakers->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, volume.put_void())))
        return -1;

    if (muteSwitch) {
        if (FAILED(volume->SetMute(level != 0, nullptr))) return -1;
        return Percent(volume.get());
    }
    int now = Percent(volume.get());
    if (now < 0) return -1;
    int target = level == kStepUp ? now + kStep : level == kStepDown ? now - kStep : level;
    target = std::clamp(target, 0, 100);
    if (FAILED(volume->SetMasterVolumeLevelScalar(static_cast<float>(target) / 100, nullptr))) return -1;
    return Percent(volume.get());
}

}  // namespace vewin32
