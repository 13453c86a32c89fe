#pragma once
// Shared test helpers: a fresh simulated desktop per test, trace queries, and the test data
// directory every test sees (written once at start-up, see TestMain.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"

namespace vetest {

// The data directory the tests' tables live in; its content is fixed for the whole run
// because the library caches the tables process-wide.
const std::string& DataDir();

// Entries of the test data directory (UTF-8 here; stored GBK and encrypted).
inline const std::vector<std::pair<std::string, std::string>> kSoftware = {
    {"QQ", "https://im.qq.com/pcqq/"},
    {"微信", "https://pc.weixin.qq.com/"},
    {"迅雷", "https://www.xunlei.com/"},
    {"网易云音乐", "https://music.163.com/#/download"},
};
inline const std::vector<std::string> kFilms = {"流浪地球", "霸王别姬"};
inline const std::vector<std::string> kSongs = {"稻香", "后来"};

class SimTest : public ::testing::Test {
protected:
    vesim::ScopedSim sim;

    std::vector<vesim::TraceEvent> Trace() { return sim->Trace(); }
    // Names of the recorded calls, in order.
    std::vector<std::string> Calls();
    // The recorded events of one call.
    std::vector<vesim::TraceEvent> EventsOf(const std::string& call);
    // The texts opened through VeUI::VeShellExecuteA.
    std::vector<std::string> Opened();
};

vesim::TraceValue N(long long n);
vesim::TraceValue T(const std::string& utf8);
vesim::TraceValue B(bool b);

// Compact "call(args)" form of events, for whole-trace comparisons.
std::vector<std::string> Readable(const std::vector<vesim::TraceEvent>& events);

}  // namespace vetest
