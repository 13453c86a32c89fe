// The C API as a host sees it: its callbacks take over the host services from whatever runs the
// desktop underneath (here the sim), Windows calls stay underneath, and bad arguments are refused.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "vescene/vescene.h"

namespace {

using namespace vetest;

struct Host {
    Lines calls;
    int volume = 50;
};

Host& Of(void* user) { return *static_cast<Host*>(user); }

VeHostCallbacks Table(Host& host, size_t size = sizeof(VeHostCallbacks)) {
    VeHostCallbacks cb{};
    cb.size = size;
    cb.user = &host;
    cb.tray = [](void* u, const char* text, int param) { Of(u).calls.push_back("tray(" + std::string(text) + ", " + std::to_string(param) + ")"); };
    cb.log = [](void* u, const char* text, int type, int channel) {
        Of(u).calls.push_back("log(" + std::string(text) + ", " + std::to_string(type) + ", " + std::to_string(channel) + ")");
    };
    cb.open_program = [](void* u, const char* name, int*, void**) {
        Of(u).calls.push_back("open_program(" + std::string(name) + ")");
        return name == std::string("记事本") ? 1 : 0;
    };
    cb.shell_execute = [](void* u, const char* target) { Of(u).calls.push_back("shell_execute(" + std::string(target) + ")"); };
    cb.set_volume = [](void* u, int level, int mute) {
        Of(u).calls.push_back("set_volume(" + std::to_string(level) + ", " + std::to_string(mute) + ")");
        if (!mute) Of(u).volume = level;
        return Of(u).volume;
    };
    return cb;
}

const std::string kWebSearch =
    R"({"text":"搜索周杰伦","rc":0,"service":"websearch","semantic":{"slots":[{"name":"keyword","value":"周杰伦"}]}})";
const std::string kNotepad =
    R"({"text":"打开记事本","rc":0,"service":"application","semantic":{"slots":[{"name":"application","value":"记事本"}]}})";
const std::string kVolume = R"({"text":"","sc":"80","ws":[{"cw":[{"w":"音量调到30"}]}]})";

class CApiTest : public SimTest {
protected:
    VeSceneHandle* scene = VeScene_Create();
    ~CApiTest() override {
        VeScene_SetHostCallbacks(nullptr);  // before the sim goes: the callbacks sit on top of it
        VeScene_Destroy(scene);
    }
    Lines SimCalls(const char* call) { return Readable(EventsOf(call)); }
};

TEST_F(CApiTest, CallbacksTakeOverTheHostServicesOnly) {
    Host host;
    const VeHostCallbacks cb = Table(host);
    VeScene_SetHostCallbacks(&cb);

    EXPECT_EQ(VeScene_ProcessM(scene, kWebSearch.c_str(), 1, 0), VESCENE_DONE);
    EXPECT_EQ(host.calls, (Lines{"tray(搜索周杰伦, 1)", "shell_execute(" + kBaiduJay + ")", "log(搜索周杰伦, 11, 1)"}));
    EXPECT_TRUE(SimCalls("VeUI::VeShellExecuteA").empty());
    EXPECT_TRUE(SimCalls("VeUI::Tray").empty());
    EXPECT_FALSE(SimCalls("CAccountData::OpenUserSelf").empty());  // no callback for it: the sim answers

    host.calls.clear();
    EXPECT_EQ(VeScene_ProcessM(scene, kNotepad.c_str(), 1, 0), VESCENE_DONE);
    EXPECT_EQ(host.calls, (Lines{"tray(打开记事本, 1)", "open_program(记事本)", "log(打开记事本, 30, 1)"}));

    host.calls.clear();
    EXPECT_EQ(VeScene_ProcessP_normal(scene, kVolume.c_str()), VESCENE_DONE);
    std::erase_if(host.calls, [](const std::string& c) { return !c.starts_with("set_volume") && !c.starts_with("tray"); });
    EXPECT_EQ(host.calls, (Lines{"set_volume(30, 0)", "set_volume(0, 1)", "set_volume(30, 0)", "tray(音量：30, 1)",
                                 "tray(音量调到30, 1)"}));
    EXPECT_TRUE(SimCalls("CEnvironmentMonitor::SetVolume").empty());
}

TEST_F(CApiTest, AShorterTableOrRemovalLeavesTheServicesUnderneath) {
    Host host;
    // A size that cuts shell_execute in half leaves it out as well.
    for (size_t cut : {size_t{0}, size_t{1}, sizeof(void*) - 1}) {
        const VeHostCallbacks shorter = Table(host, offsetof(VeHostCallbacks, shell_execute) + cut);
        VeScene_SetHostCallbacks(&shorter);
        sim->ClearTrace();
        host.calls.clear();
        EXPECT_EQ(VeScene_ProcessM(scene, kWebSearch.c_str(), 1, 0), VESCENE_DONE);
        EXPECT_EQ(host.calls, (Lines{"tray(搜索周杰伦, 1)", "log(搜索周杰伦, 11, 1)"})) << cut;
        EXPECT_EQ(Opened(), Lines{kBaiduJay});
    }

    const VeHostCallbacks cb = Table(host), none = Table(host, 0);
    for (const VeHostCallbacks* last : {&none, static_cast<const VeHostCallbacks*>(nullptr)}) {
        VeScene_SetHostCallbacks(&cb);
        VeScene_SetHostCallbacks(&cb);  // a second install must not stack the forwarding
        VeScene_SetHostCallbacks(last);
        sim->ClearTrace();
        host.calls.clear();
        EXPECT_EQ(VeScene_ProcessM(scene, kWebSearch.c_str(), 1, 0), VESCENE_DONE);
        EXPECT_TRUE(host.calls.empty());
        EXPECT_EQ(Opened(), Lines{kBaiduJay});
        EXPECT_EQ(SimCalls("VeUI::Tray").size(), 1u);
    }
}

TEST_F(CApiTest, BadArgumentsAreRefused) {
    EXPECT_EQ(VeScene_ProcessM(nullptr, kWebSearch.c_str(), 1, 0), VESCENE_BAD_ARGUMENT);
    EXPECT_EQ(VeScene_ProcessM(scene, nullptr, 1, 0), VESCENE_BAD_ARGUMENT);
    EXPECT_EQ(VeScene_ProcessP_normal(nullptr, kVolume.c_str()), VESCENE_BAD_ARGUMENT);
    EXPECT_EQ(VeScene_ProcessP_PPT(scene, nullptr), VESCENE_BAD_ARGUMENT);
    EXPECT_EQ(VeScene_ProcessAI(scene, nullptr), VESCENE_BAD_ARGUMENT);
    EXPECT_EQ(VeScene_ProcessM_office_xiao(nullptr, "{}", 1), VESCENE_BAD_ARGUMENT);
    EXPECT_STREQ(VeScene_GetScene(nullptr), "");
    EXPECT_STREQ(VeScene_GetText(nullptr), "");
    VeScene_Destroy(nullptr);
    EXPECT_TRUE(Trace().empty());
}

// The library reports the version of its header, the one of project(VERSION) in CMakeLists.txt.
TEST(CApiVersionTest, TheLibraryReportsTheHeadersVersion) {
    EXPECT_STREQ(VeScene_Version(), VESCENE_VERSION_STRING);
    EXPECT_EQ(std::string(VeScene_Version()), std::to_string(VESCENE_VERSION_MAJOR) + "." +
                                                  std::to_string(VESCENE_VERSION_MINOR) + "." +
                                                  std::to_string(VESCENE_VERSION_PATCH));
    EXPECT_EQ(VESCENE_VERSION, VESCENE_MAKE_VERSION(VESCENE_VERSION_MAJOR, VESCENE_VERSION_MINOR, VESCENE_VERSION_PATCH));
}

}  // namespace
