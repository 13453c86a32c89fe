// Display brightness: the primary monitor's configuration (DDC/CI, external monitors), else
// WMI's brightness methods (laptop panels).
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Support.h"

#include <highlevelmonitorconfigurationapi.h>
#include <oleauto.h>
#include <physicalmonitorenumerationapi.h>
#include <wbemcli.h>

#include <algorithm>
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

class PhysicalMonitors {
public:
    explicit PhysicalMonitors(HMONITOR monitor) {
        DWORD count = 0;
        if (!::GetNumberOfPhysicalMonitorsFromHMONITOR(monitor, &count) || count == 0) return;
        m_list.resize(count);
        if (!::GetPhysicalMonitorsFromHMONITOR(monitor, count, m_list.data())) m_list.clear();
    }
    ~PhysicalMonitors() {
        if (!m_list.empty()) ::DestroyPhysicalMonitors(static_cast<DWORD>(m_list.size()), m_list.data());
    }
    PhysicalMonitors(const PhysicalMonitors&) = delete;
    PhysicalMonitors& operator=(const PhysicalMonitors&) = delete;
    const std::vector<PHYSICAL_MONITOR>& List() const { return m_list; }

private:
    std::vector<PHYSICAL_MONITOR> m_list;
};

int SetThroughMonitorConfiguration(int level) {
    PhysicalMonitors monitors(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
    int result = -1;
    for (const PHYSICAL_MONITOR& monitor : monitors.List()) {
        DWORD low = 0, now = 0, high = 0;
        if (!::GetMonitorBrightness(monitor.hPhysicalMonitor, &low, &now, &high) || high <= low) continue;
        DWORD wanted = static_cast<DWORD>(Scale(level, 0, kTop, low, high));
        if (!::SetMonitorBrightness(monitor.hPhysicalMonitor, wanted)) continue;
        result = Scale(wanted, low, high, 0, kTop);
    }
    return result;
}

class Bstr {
public:
    explicit Bstr(const wchar_t* text) : m_text(::SysAllocString(text)) {}
    ~Bstr() { ::SysFreeString(m_text); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return m_text; }

private:
    BSTR m_text;
};

class Variant {
public:
    Variant() { ::VariantInit(&m_value); }
    ~Variant() { ::VariantClear(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* Put() {
        ::VariantClear(&m_value);
        return &m_value;
    }
    VARIANT& Get() { return m_value; }

private:
    VARIANT m_value;
};

// The first instance of a WMI class, or nothing.
bool FirstInstance(IWbemServices* services, const wchar_t* query, ComPtr<IWbemClassObject>& instance) {
    ComPtr<IEnumWbemClassObject> found;
    Bstr language(L"WQL"), text(query);
    if (FAILED(services->ExecQuery(language.Get(), text.Get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                   nullptr, found.Put())))
        return false;
    ULONG count = 0;
    return SUCCEEDED(found->Next(kWmiWaitMs, 1, instance.Put(), &count)) && count == 1 && instance;
}

int SetThroughWmi(int level) {
    ComScope com;
    if (!com.Usable()) return -1;
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    Bstr space(L"ROOT\\WMI");
    if (FAILED(::CoCreateInstance(__uuidof(WbemLocator), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWbemLocator),
                                  locator.PutVoid())) ||
        FAILED(locator->ConnectServer(space.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Put())))
        return -1;
    // The proxy's own security, since a library must not set the process-wide defaults.
    if (FAILED(::CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                                   RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE)))
        return -1;

    ComPtr<IWbemClassObject> methods, methodClass, signature, arguments;
    Variant path;
    Bstr className(L"WmiMonitorBrightnessMethods"), method(L"WmiSetBrightness");
    if (!FirstInstance(services.Get(), L"SELECT * FROM WmiMonitorBrightnessMethods", methods) ||
        FAILED(methods->Get(L"__PATH", 0, path.Put(), nullptr, nullptr)) || path.Get().vt != VT_BSTR ||
        FAILED(services->GetObject(className.Get(), 0, nullptr, methodClass.Put(), nullptr)) ||
        FAILED(methodClass->GetMethod(L"WmiSetBrightness", 0, signature.Put(), nullptr)) || !signature ||
        FAILED(signature->SpawnInstance(0, arguments.Put())))
        return -1;

    Variant timeout, brightness;
    timeout.Get().vt = VT_I4;
    timeout.Get().lVal = kWmiTimeoutSeconds;
    brightness.Get().vt = VT_UI1;
    brightness.Get().bVal = static_cast<BYTE>(Scale(level, 0, kTop, 0, 100));
    if (FAILED(arguments->Put(L"Timeout", 0, &timeout.Get(), 0)) ||
        FAILED(arguments->Put(L"Brightness", 0, &brightness.Get(), 0)) ||
        FAILED(services->ExecMethod(path.Get().bstrVal, method.Get(), 0, nullptr, arguments.Get(), nullptr, nullptr)))
        return -1;

    ComPtr<IWbemClassObject> state;
    Variant current;
    if (!FirstInstance(services.Get(), L"SELECT CurrentBrightness FROM WmiMonitorBrightness", state) ||
        FAILED(state->Get(L"CurrentBrightness", 0, current.Put(), nullptr, nullptr)))
        return Scale(brightness.Get().bVal, 0, 100, 0, kTop);  // set, but not readable: the level asked for
    if (FAILED(::VariantChangeType(&current.Get(), &current.Get(), 0, VT_I4))) return -1;
    return Scale(std::clamp<long>(current.Get().lVal, 0, 100), 0, 100, 0, kTop);
}

}  // namespace

int SetBrightness(int level) {
    level = std::clamp(level, 0, kTop);
    int set = SetThroughMonitorConfiguration(level);
    return set >= 0 ? set : SetThroughWmi(level);
}

}  // namespace vewin32
