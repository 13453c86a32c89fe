#pragma once
// Shared test helpers: a fresh simulated desktop per test, trace queries, text conversions,
// and the test data directory every test sees (written once at start-up, see TestMain.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/JsonQuote.h"
#include "host/DataDirectory.h"
#include "host/VeChar.h"
#include "host/VeJson.h"
#include "keyboard/OfficeGrammar.h"
#include "platform/TextCodec.h"
#include "platform/sim/SimDesktop.h"

namespace vetest {

using Lines = std::vector<std::string>;

// The data directory the tests' tables live in; its content is fixed for the whole run
// because the library caches the tables process-wide.
const std::string& DataDir();

// Entries of the test data directory (UTF-8 here; stored GBK and encrypted).
inline const std::vector<std::pair<std::string, std::string>> kSoftware = {
    {"QQ", "https://im.qq.com/pcqq/"},
    {"QQ音乐", "https://y.qq.com/download/"},
    {"QQ浏览器", "https://browser.qq.com/"},
    {"微信", "https://pc.weixin.qq.com/"},
    {"迅雷", "https://www.xunlei.com/"},
    {"网易云音乐", "https://music.163.com/#/download"},
};
inline const std::vector<std::string> kFilms = {"流浪地球", "霸王别姬"};
inline const std::vector<std::string> kSongs = {"稻香", "后来"};
// Where the online requests and song searches of the tests go unless a test starts a server:
// a closed port, so they fail at once and nothing leaves the machine.
inline constexpr const char* kNoOnlineService = "http://127.0.0.1:9";
inline constexpr const char* kParticles = "嗯\r\n\r\n啊\n哦";
// The real railway station codes and hotel city path names, read from data/stations.csv and
// data/hotelcities.csv; the local-life site's city short names.
const std::vector<std::pair<std::string, std::string>>& Stations();
const std::vector<std::pair<std::string, std::string>>& HotelCities();
inline const std::vector<std::pair<std::string, std::string>> kAbbreviations = {
    {"北京", "bj"}, {"上海", "sh"}, {"苏州", "su"}, {"成都", "cd"},
};

inline const std::string kJay = "%E5%91%A8%E6%9D%B0%E4%BC%A6";  // 周杰伦, URL-encoded
inline const std::string kBaiduJay = "https://www.baidu.com/s?wd=" + kJay + "&enc=utf-8";

class SimTest : public ::testing::Test {
protected:
    vesim::ScopedSim sim;

    std::vector<vesim::TraceEvent> Trace() { return sim->Trace(); }
    // The recorded events of one call.
    std::vector<vesim::TraceEvent> EventsOf(const std::string& call);
    // The texts opened through VeUI::VeShellExecuteA.
    Lines Opened();
};

// Compact "call(args)" form of events, for whole-trace comparisons.
Lines Readable(const std::vector<vesim::TraceEvent>& events);

inline std::string Q(const std::string& utf8) { return JsonQuote(utf8); }
inline std::string Gbk(const std::string& utf8) { return VeChar::VeUtf8_2_UnicodeChar(utf8); }
inline std::string Utf8(const std::string& gbk) { return VeChar::VeUnicodeChar_2_Utf8(gbk); }
inline std::string Utf8(const CString& text) { return VeChar::VeCString_2_Utf8(text); }
inline CString Wide(const std::string& utf8) { return VeChar::VeUtf8_2_CString(utf8); }

inline Lines Concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

template <class... More>
Lines Seq(Lines first, const More&... more) {
    (first.insert(first.end(), more.begin(), more.end()), ...);
    return first;
}

// The calls of the key player's press or release of `vk`, whose scan code is `scan`. The keys
// of the extended set the library presses (the page and arrow keys, Home, End, Insert, Delete,
// the Windows key, right Ctrl and Alt, the media keys) carry KEYEVENTF_EXTENDEDKEY (1).
inline Lines KeyCalls(int vk, int scan, bool up) {
    const int low = vk & 0xFF;
    const bool extended = (low >= 0x21 && low <= 0x28) || low == 0x2D || low == 0x2E || low == 0x5B || low == 0xA3 ||
                          low == 0xA5 || (low >= 0xAD && low <= 0xB3);
    const int flags = (up ? 2 : 0) | (extended ? 1 : 0);
    return {"MapVirtualKeyW(" + std::to_string(static_cast<unsigned>(vk)) + ", 0) -> " + std::to_string(scan),
            "keybd_event(" + std::to_string(low) + ", " + std::to_string(scan) + ", " + std::to_string(flags) + ", 0)"};
}
inline Lines Wait(int ms) { return {"Sleep(" + std::to_string(ms) + ")"}; }

// GBK records (grammar-file lines), each followed by `eol`.
inline std::string Records(const Lines& utf8Lines, const std::string& eol = "\r\n") {
    std::string out;
    for (const auto& line : utf8Lines) out += Gbk(line) + eol;
    return out;
}

// The compact form of the events whose call passes `keep`.
template <class Keep>
Lines Only(const std::vector<vesim::TraceEvent>& events, Keep keep) {
    Lines out;
    for (const auto& e : events)
        if (keep(e.call)) out.push_back(e.ToReadable());
    return out;
}

// The office grammar files of the test data directory: written, or removed with the tables.
inline const char* const kGrammar = "officectrl.grm";
inline const char* const kOutPpt = "officectrloutppt.grm";
inline void WriteGrammar(const char* name, const std::string& bytes) {
    std::ofstream(DataDir() + "/" + name, std::ios::binary | std::ios::trunc) << bytes;
}
inline void ResetGrammars() {
    ResetOfficeCtrlTables();
    for (const char* name : {kGrammar, kOutPpt}) std::filesystem::remove(DataDir() + "/" + name);
    vehost::SetDataDirectory(DataDir());  // named again: a missing or damaged file is told again
}

// A scene given the text and a semantic result whose "semantic^slots" are `slots` (JSON
// objects, UTF-8), parsed as the dispatcher does.
template <class Scene>
void Fill(Scene& scene, const char* service, const std::string& utf8Text, const std::string& slots) {
    scene.m_stdService = service;
    scene.m_stdText = Gbk(utf8Text);
    VeJson doc((R"({"service":")" + std::string(service) + R"(","semantic":[{"slots":[)" + slots + "]}]}").c_str());
    ASSERT_TRUE(doc.IsValid()) << slots;
    doc.Utf8ToUnicode();
    scene.Parse(doc);
}

// The same given a whole result (UTF-8 JSON).
template <class Scene>
void FillResult(Scene& scene, const char* service, const std::string& utf8Text, const std::string& result) {
    scene.m_stdService = service;
    scene.m_stdText = Gbk(utf8Text);
    VeJson doc(result.c_str());
    ASSERT_TRUE(doc.IsValid()) << result;
    doc.Utf8ToUnicode();
    scene.Parse(doc);
}

inline std::string Slot(const char* name, const char* value, const char* normValue = nullptr) {
    std::string slot = std::string(R"({"name":")") + name + '"';
    if (value) slot += R"(,"value":)" + Q(value);
    if (normValue) slot += R"(,"normValue":)" + Q(normValue);
    return slot + "}";
}

// A scene test's row: the utterance, the slots (or the whole result), the calls it leads to, and
// the computer's city from this row on when the row sets one.
struct SceneCase {
    const char* text;
    std::string input;
    Lines trace;
    const char* city = nullptr;
};

class SceneTest : public SimTest {
protected:
    // Fills a new scene from the slots (`whole`: the whole result), executes it on a cleared
    // trace, expects it carried out and returns the calls it made.
    template <class Scene>
    Lines Executed(const char* service, const std::string& utf8Text, const std::string& input, bool whole = false,
                   int done = 1) {
        sim->ClearTrace();
        Scene scene;
        if (whole)
            FillResult(scene, service, utf8Text, input);
        else
            Fill(scene, service, utf8Text, input);
        EXPECT_EQ(scene.Execute(), done);
        return Readable(Trace());
    }
    template <class Scene>
    void Check(const char* service, const std::vector<SceneCase>& cases, bool whole = false) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.text) + " | " + c.input);
            if (c.city) sim->State().city = c.city;
            EXPECT_EQ(Executed<Scene>(service, c.text, c.input, whole), c.trace);
        }
    }
};

// The compact trace lines of the host services the scenes call most; a namespace of their own so
// that a test's local helpers of the same names stay unambiguous.
namespace calls {
inline std::string Enc(const std::string& utf8) { return VeChar::Utf8_2_Urlcode(utf8); }
// A page as the shell gets it; the words written in a URL here are the GBK bytes a site reads,
// and no URL leaves the library with a byte above 0x7F: they go percent-encoded.
inline std::string Shell(const std::string& url) {
    std::string sent;
    for (size_t i = 0; i < url.size();) {
        size_t end = i;
        while (end < url.size() && static_cast<unsigned char>(url[end]) >= 0x80) ++end;
        if (end == i) {
            sent += url[i++];
            continue;
        }
        for (const unsigned char b : textcodec::Utf8ToGbk(url.substr(i, end - i))) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            sent += {'%', kHex[b >> 4], kHex[b & 0x0F]};
        }
        i = end;
    }
    return "VeUI::VeShellExecuteA(" + Q(sent) + ")";
}
inline std::string Search(const std::string& text) { return "CUtil::SearchInBaidu_unicode(" + Q(text) + ")"; }
inline std::string City(const std::string& city) { return "VeAddress::GetCity() -> " + Q(city); }
inline std::string Program(const std::string& name) { return "CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> true"; }
inline std::string Site(const std::string& name, bool known = false) {
    return "CDataFactory::OpenWebsite(" + Q(name) + ") -> " + (known ? "true" : "false");
}
inline std::string Refused(const std::string& target) {
    return "OutputDebugStringW(" + Q("VeScene: refused to open a result that is no web address: " + target) + ")";
}
// A reply's or result's object that the user did not say, declined.
inline std::string NotSaid(const std::string& name) {
    return "OutputDebugStringW(" + Q("VeScene: declined \"" + name + "\" from a reply or result: the user did not say it") + ")";
}
inline std::string Asked(const std::string& command) {
    return "OutputDebugStringW(" + Q("VeScene: declined \"" + command + "\" from a reply or result: the user asked a question") + ")";
}
// A scene declined when it did nothing or ended on a warning.
inline bool Declined(const Lines& trace) {
    if (trace.empty() || trace.back().starts_with("OutputDebugStringW(")) return true;
    const std::string& last = trace.back();
    return last.starts_with("VeUI::Tray(") && (last.find("没有找到要关闭的") != std::string::npos ||
                                               last.find("不能关闭") != std::string::npos);
}
// The result window's line of a scene that tells the user why nothing was done.
inline std::string NotDone(const std::string& why) { return "VeUI::Tray(" + Q(why) + ", 1)"; }
// The system command table's lookups for a name it does not know.
inline Lines Unknown(const std::string& name) {
    return {"CDataFactory::OpenPcSoftwareLnk(" + Q(name) + ") -> false",
            "CDataFactory::OpenWebsite_Grm(" + Q(name) + ") -> false", "CEnvironmentMonitor::OsVersion() -> 10"};
}
// An uninstall the host refuses: Windows' own list of programs instead.
inline Lines Uninstall(const std::string& name) {
    return {"CDataFactory::UninstSystemExe(" + Q(name) + ") -> false", "GetCurrentProcess() -> -1",
            "IsWow64Process(-1) -> false", R"(GetSystemDirectoryW() -> "C:\\Windows\\system32")",
            R"(CreateProcessW("C:\\Windows\\system32\\control.exe", "\"C:\\Windows\\system32\\control.exe\" /name Microsoft.ProgramsAndFeatures") -> 1)"};
}
// A media key tapped (its scan code, with KEYEVENTF_EXTENDEDKEY both ways), after the input check.
inline Lines Tap(int vk, int scan) {
    return Seq(Lines{"GetForegroundWindow() -> 0"}, KeyCalls(vk, scan, false), KeyCalls(vk, scan, true));
}
// Finding the window titled `title` of process `pid` and checking it is not the shell's or the
// host's (4000) on a desktop without a shell.
inline Lines FindToClose(const std::string& title, int pid) {
    const std::string window = std::to_string(pid << 4);
    return {"FindWindowW(null, " + Q(title) + ") -> " + window, "GetWindowThreadProcessId(" + window + ") -> " + std::to_string(pid),
            "GetCurrentProcessId() -> 4000", "GetDesktopWindow() -> 65552", "GetShellWindow() -> 0",
            R"(FindWindowW("Shell_TrayWnd", null) -> 0)", "GetWindowThreadProcessId(65552) -> 4097"};
}
// Asking the window titled 记事本 (pid 1234, beside 无标题 - 记事本 of pid 77) to close on a fresh
// desktop, up to the wait for its process.
inline const Lines kAskNotepad = Concat(FindToClose("记事本", 1234),
    {"OpenProcess(1052673, 0, 1234) -> 260", "EnumWindows() -> 2", "GetWindowThreadProcessId(1232) -> 77",
     R"(QueryFullProcessImageNameW(260) -> "")", "PostMessageW(19744, 16, 0, 0) -> 1"});
// ... and it closes.
inline const Lines kCloseNotepad = Concat(kAskNotepad, {"MsgWaitForSingleObject(260, 5000) -> 0", "CloseHandle(260) -> 1",
                                                        "CUtil::RefreshToolbarAreaIcon()"});
}  // namespace calls

}  // namespace vetest
