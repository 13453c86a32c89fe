// Display brightness: the primary monitor's configuration (DDC/CI, external monitors), else
// WMI's brightness methods (laptop panels).
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Support.h"

#include <highlevelmonitorconfigurationapi.h>
#include <wbemcli.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace vewin32 {
namespace {

constexpr int kTop = 255;                 // the library's scale
constexpr LONG kWmiTimeoutSeconds = 0;    // WmiSetBrightness: 0 sets it for good
constexpr LONG kWmiWaitMs = 5000;         // a stuck WMI service must not hold the dispatcher

int Scale(long value, long fromLow, long fromHigh, long toLow, long toHigh) {
    if (fromHigh <= fromLow) return static_cast<int>(toLow);
    return static_cast<int>(toLow + ((value - fromLow) * (toHigh - toLow) + (fromHigh - fromLow) / 2) / (fromHigh - fromLow));
}

// The physical monitors of a display; none when it has none or Windows cannot give them.
UniquePhysicalMonitors PhysicalMonitorsOf(HMONITOR monitor) {
    DWORD count = 0;
    if (!::GetNumberOfPhysicalMonitorsFromHMONITOR(monitor, &count) || count == 0) return {};
    std::vector<PHYSICAL_MONITOR> list(count);
    if (!::GetPhysicalMonitorsFromHMONITOR(monitor, count, list.data())) return {};
    return UniquePhysicalMonitors(std::move(list));
}

int SetThroughMonitorConfiguration(int level) {
    UniquePhysicalMonitors monitors = PhysicalMonitorsOf(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
    int result = -1;
    for (const PHYSICAL_MONITOR& monitor : monitors.get()) {
        DWORD low = 0, now = 0, high = 0;
        if (!::GetMonitorBrightness(monitor.hPhysicalMonitor, &low, &now, &high) || high <= low) continue;
        DWORD wanted = static_cast<DWORD>(Scale(level, 0, kTop, low, high));
        if (!::SetMonitorBrightness(monitor.hPhysicalMonitor, wanted)) continue;
        result = Scale(wanted, low, high, 0, kTop);
    }
    return result;
}

// The first instance of a WMI class, or nothing.
bool FirstInstance(IWbemServices* services, const wchar_t* query, UniqueCom<IWbemClassObject>& instance) {
    UniqueCom<IEnumWbemClassObject> found;
    UniqueBstr language(::SysAllocString(L"WQL")), text(::SysAllocString(query));
    if (FAILED(services->ExecQuery(language.get(), text.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                   nullptr, found.put())))
        return false;
    ULONG count = 0;
    return SUCCEEDED(found->Next(kWmiWaitMs, 1, instance.put(), &count)) && count == 1 && instance;
}

// The WMI namespace of the monitors; empty when it cannot be reached. COM must be usable.
UniqueCom<IWbemServices> ConnectWmi() {
    UniqueCom<IWbemLocator> locator;
    UniqueCom<IWbemServices> services;
    UniqueBstr space(::SysAllocString(L"ROOT\\WMI"));
    if (FAILED(::CoCreateInstance(__uuidof(WbemLocator), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWbemLocator),
                                  locator.put_void())) ||
        FAILED(locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.put())))
        return {};
    // The proxy's own security, since a library must not set the process-wide defaults.
    if (FAILED(::CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                                   RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE)))
        return {};
    return services;
}

// The panel's level on the library's scale, or -1.
int ReadWmiLevel(IWbemServices* services) {
    UniqueCom<IWbemClassObject> state;
    UniqueVariant current;
    if (!FirstInstance(services, L"SELECT CurrentBrightness FROM WmiMonitorBrightness", state) ||
        FAILED(state->Get(L"CurrentBrightness", 0, current.put(), nullptr, nullptr)) ||
        FAILED(::VariantChangeType(current.addressof(), current.addressof(), 0, VT_I4)))
        return -1;
    return Scale(std::clamp<long>(current.get().lVal, 0, 100), 0, 100, 0, kTop);
}

int SetThroughWmi(int level) {
    ComScope com;
    if (!com.Usable()) return -1;
    UniqueCom<IWbemServices> services = ConnectWmi();
    if (!services) return -1;

    UniqueCom<IWbemClassObject> methods, methodClass, signature, arguments;
    UniqueVariant path;
    UniqueBstr className(::SysAllocString(L"WmiMonitorBrightnessMethods"));
    UniqueBstr method(::SysAllocString(L"WmiSetBrightness"));
    if (!FirstInstance(services.get(), L"SELECT * FROM WmiMonitorBrightnessMethods", methods) ||
        FAILED(methods->Get(L"__PATH", 0, path.put(), nullptr, nullptr)) || path.get().vt != VT_BSTR ||
        FAILED(services->GetObject(className.get(), 0, nullptr, methodClass.put(), nullptr)) ||
        FAILED(methodClass->GetMethod(L"WmiSetBrightness", 0, signature.put(), nullptr)) || !signature ||
        FAILED(signature->SpawnInstance(0, arguments.put())))
        return -1;

    UniqueVariant timeout, brightness;
    VARIANT* value = timeout.put();
    value->vt = VT_I4;
    value->lVal = kWmiTimeoutSeconds;
    value = brightness.put();
    value->vt = VT_UI1;
    value->bVal = static_cast<BYTE>(Scale(level, 0, kTop, 0, 100));
    if (FAILED(arguments->Put(L"Timeout", 0, timeout.addressof(), 0)) ||
        FAILED(arguments->Put(L"Brightness", 0, brightness.addressof(), 0)) ||
        FAILED(services->ExecMethod(path.get().bstrVal, method.get(), 0, nullptr, arguments.get(), nullptr, nullptr)))
        return -1;

    const int now = ReadWmiLevel(services.get());
    return now >= 0 ? now : Scale(brightness.get().bVal, 0, 100, 0, kTop);  // set, but not readable: the level asked for
}

int ReadThroughMonitorConfiguration() {
    UniquePhysicalMonitors monitors = PhysicalMonitorsOf(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
    for (const PHYSICAL_MONITOR& monitor : monitors.get()) {
        DWORD low = 0, now = 0, high = 0;
        if (::GetMonitorBrightness(monitor.hPhysicalMonitor, &low, &now, &high) && high > low)
            return Scale(std::clamp(now, low, high), low, high, 0, kTop);
    }
    return -1;
}

int ReadThroughWmi() {
    ComScope com;
    if (!com.Usable()) return -1;
    UniqueCom<IWbemServices> services = ConnectWmi();
    return services ? ReadWmiLevel(services.get()) : -1;
}

}  // namespace

int SetBrightness(int level) {
    level = std::clamp(level, 0, kTop);
    int set = SetThroughMonitorConfiguration(level);
    return set >= 0 ? set : SetThroughWmi(level);
}

int GetBrightness() {
    const int level = ReadThroughMonitorConfiguration();
    return level >= 0 ? level : ReadThroughWmi();
}

}  // namespace vewin32
