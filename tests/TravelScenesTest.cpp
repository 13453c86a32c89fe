// The travel scenes: which slots make the route, when the computer's city replaces the
// departure, which day is searched, how a hotel city becomes a path segment, and the page
// each scene opens.
#include "TestSupport.h"
#include "scenes/semantic/travel/TravelRules.h"
#include "scenes/semantic/travel/VeJsonFlight.h"
#include "scenes/semantic/travel/VeJsonHotel.h"
#include "scenes/semantic/travel/VeJsonHotelSearch.h"
#include "scenes/semantic/travel/VeJsonTrain.h"

using namespace vetest;

namespace {

const std::string kFlightRoot = "http://flight.qunar.com";
const std::string kTickets = "https://kyfw.12306.cn/otn/leftTicket/init";
const std::string kHotelHome = "http://hotel.qunar.com/";
const std::string kHotelCity = "http://hotel.qunar.com/city/";
// The date object as the engine sends it: JSON text, here with its quotes escaped once more.
const char* const kEscapedDate = R"({\"datetime\":\"2026-12-07\",\"suggestDatetime\":\"2026-12-08\"})";
const char* const kToday = "2026-12-06";  // the simulated desktop's date

std::string Enc(const std::string& utf8) { return VeChar::Utf8_2_Urlcode(utf8); }
std::string Shell(const std::string& url) { return "VeUI::VeShellExecuteA(" + Q(url) + ")"; }
std::string City(const std::string& city) { return "VeAddress::GetCity() -> " + Q(city); }
const std::string kTodayCall = std::string("TyTime::GetTime_2020_01_01() -> ") + Q(kToday);

std::string Flight(const std::string& from, const std::string& to, const std::string& date) {
    return "http://flight.qunar.com/site/oneway_list.htm?searchDepartureAirport=" + Enc(from) +
           "&searchArrivalAirport=" + Enc(to) + "&searchDepartureTime=" + date;
}
std::string Train(const std::string& from, const char* fromCode, const std::string& to, const char* toCode,
                  const std::string& date) {
    return kTickets + "?linktypeid=dc&fs=" + Enc(from) + "," + fromCode + "&ts=" + Enc(to) + "," + toCode +
           "&date=" + date + "&flag=N,N,Y";
}

// Departure and destination slots (normValue), and the date object when given.
std::string Route(const char* startSlot, const char* from, const char* endSlot, const char* to,
                  const char* date = nullptr) {
    std::string slots;
    const auto add = [&](const std::string& slot) { slots += (slots.empty() ? "" : ",") + slot; };
    if (from) add(Slot(startSlot, from, from));
    if (to) add(Slot(endSlot, to, to));
    if (date) add(Slot("startDate", "明天", date));
    return slots;
}

struct RouteCase {
    const char* what;
    const char* text;
    std::string slots;
    const char* computerCity;
    Lines trace;
};

class TravelSceneTest : public SimTest {
protected:
    // Parses and executes a scene on a cleared trace; the trace it left.
    template <class Scene>
    Lines Run(const char* service, const RouteCase& c) {
        sim->ClearTrace();
        sim->State().city = c.computerCity;
        Scene scene;
        Fill(scene, service, c.text, c.slots);
        EXPECT_EQ(scene.Execute(), 1);
        return Readable(Trace());
    }

    // A hotel scene given a whole result (UTF-8 JSON), parsed and executed: the trace it left.
    template <class Scene>
    Lines RunHotel(const char* service, const std::string& result, const char* computerCity = "北京") {
        sim->ClearTrace();
        sim->State().city = computerCity;
        Scene scene;
        scene.m_stdService = service;
        VeJson doc(result.c_str());
        EXPECT_TRUE(doc.IsValid()) << result;
        doc.Utf8ToUnicode();
        scene.Parse(doc);
        EXPECT_EQ(scene.Execute(), 1);
        EXPECT_EQ(scene.m_logType, LogType_Hotel);
        return Readable(Trace());
    }
};

TEST_F(TravelSceneTest, FlightRoutes) {
    const char* const from = "startLoc.cityAddr";
    const char* const to = "endLoc.cityAddr";
    const RouteCase cases[] = {
        {"spoken route", "明天南京到上海的机票", Route(from, "南京", to, "上海", kEscapedDate), "北京",
         {Shell(Flight("南京", "上海", "2026-12-08"))}},
        {"current city", "明天去上海的机票", Route(from, "CURRENT_CITY", to, "上海", kEscapedDate), "武汉",
         {City("武汉"), Shell(Flight("武汉", "上海", "2026-12-08"))}},
        {"no departure slot", "去上海的机票", Route(from, nullptr, to, "上海"), "武汉",
         {City("武汉"), kTodayCall, Shell(Flight("武汉", "上海", kToday))}},
        {"unspoken departure", "去上海的机票", Route(from, "南京", to, "上海"), "武汉",
         {City("武汉"), kTodayCall, Shell(Flight("武汉", "上海", kToday))}},
        {"departure is the destination", "上海的机票", Route(from, "上海", to, "上海"), "武汉",
         {City("武汉"), kTodayCall, Shell(Flight("武汉", "上海", kToday))}},
        {"same city, computer city unknown", "上海的机票", Route(from, "上海", to, "上海"), "",
         {City(""), Shell(kFlightRoot)}},
        {"current city unknown", "去上海的机票", Route(from, "CURRENT_CITY", to, "上海"), "",
         {City(""), Shell(kFlightRoot)}},
        {"no destination", "南京的机票", Route(from, "南京", to, nullptr), "武汉", {Shell(kFlightRoot)}},
        {"fallback slots", "南京到上海", Route("startLoc.city", "南京", "endLoc.areaAddr", "上海"), "武汉",
         {kTodayCall, Shell(Flight("南京", "上海", kToday))}},
        {"engine's own endLoc.city is no destination", "南京到上海", Route(from, "南京", "endLoc.city", "上海"), "武汉",
         {Shell(kFlightRoot)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Run<VeJsonFlight>("flight", c), c.trace);
    }
}

TEST_F(TravelSceneTest, DateObjects) {
    const struct { const char* what; const char* object; std::string date; } cases[] = {
        {"escaped", kEscapedDate, "2026-12-08"},
        {"plain", R"({"datetime":"2026-12-07","suggestDatetime":"2026-12-08"})", "2026-12-08"},
        {"no suggestion", R"({\"datetime\":\"2026-12-07\",\"suggestDatetime\":\"\"})", "2026-12-07"},
        {"invalid", R"({"datetime":"2026-12-07")", kToday},
        {"stray backslash spoils a value", R"({"datetime":"2026\"-12-07"})", kToday},
        {"not an object", "2026-12-07", kToday},
        {"empty", "", kToday},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RouteCase route{"", "南京到上海", Route("startLoc.cityAddr", "南京", "endLoc.cityAddr", "上海", c.object),
                              "北京", {}};
        Run<VeJsonFlight>("flight", route);
        EXPECT_EQ(Opened(), Lines{Flight("南京", "上海", c.date)});
    }
}

TEST_F(TravelSceneTest, TrainRoutes) {
    const char* const from = "startLoc.cityAddr";
    const char* const to = "endLoc.cityAddr";
    const RouteCase cases[] = {
        {"city suffix dropped", "后天南京市到上海的火车", Route(from, "南京市", to, "上海", kEscapedDate), "北京",
         {Shell(Train("南京", "NJH", "上海", "SHH", "2026-12-08"))}},
        {"county suffix dropped", "岳阳县到武汉的火车", Route(from, "岳阳县", to, "武汉"), "北京",
         {kTodayCall, Shell(Train("岳阳", "YYQ", "武汉", "WHN", kToday))}},
        {"two characters stay", "岳阳到武汉的火车", Route(from, "岳阳", to, "武汉"), "北京",
         {kTodayCall, Shell(Train("岳阳", "YYQ", "武汉", "WHN", kToday))}},
        {"current city", "去广州的火车", Route(from, "CURRENT_CITY", to, "广州"), "北京",
         {City("北京"), kTodayCall, Shell(Train("北京", "BJP", "广州", "GZQ", kToday))}},
        {"unspoken departure", "去广州的火车", Route(from, "南京", to, "广州"), "上海",
         {City("上海"), kTodayCall, Shell(Train("上海", "SHH", "广州", "GZQ", kToday))}},
        {"unspoken departure, computer city unknown", "去广州的火车", Route(from, "南京", to, "广州"), "",
         {City(""), kTodayCall, Shell(Train("南京", "NJH", "广州", "GZQ", kToday))}},
        {"departure is the destination", "广州的火车", Route(from, "广州", to, "广州"), "", {City(""), Shell(kTickets)}},
        {"unknown departure", "拉萨到广州的火车", Route(from, "拉萨", to, "广州"), "北京", {Shell(kTickets)}},
        {"unknown destination", "南京到拉萨的火车", Route(from, "南京", to, "拉萨"), "北京", {Shell(kTickets)}},
        {"destination as a place", "南京到武汉", Route("startLoc.poi", "南京", "endLoc.poi", "武汉"), "北京",
         {kTodayCall, Shell(Train("南京", "NJH", "武汉", "WHN", kToday))}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Run<VeJsonTrain>("train", c), c.trace);
    }
}

TEST_F(TravelSceneTest, TrainShortensOnlyLongNamesAtACharacter) {
    const struct { std::string name; std::string kept; } cases[] = {
        {Gbk("南京市"), Gbk("南京")},
        {Gbk("岳阳"), Gbk("岳阳")},
        {Gbk("沙市"), Gbk("沙市")},  // four bytes ending in 市: a name of its own
        {Gbk("南京") + "\xB1\xCA\xD0", Gbk("南京") + "\xB1\xCA\xD0"},  // 市's bytes across a character
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string name = c.name;
        DropFinalCharacter(name, 4, {Gbk("县"), Gbk("市")});
        EXPECT_EQ(name, c.kept) << Utf8(c.name);
    }
}

std::string Accommodation(const char* intent, const std::string& slots) {
    return std::string(R"({"service":"VELMORA.accommodation","semantic":{"intent":")") + intent +
           R"(","slots":[)" + slots + "]}}";
}

TEST_F(TravelSceneTest, HotelPages) {
    const struct { const char* what; std::string result; const char* computerCity; Lines trace; } cases[] = {
        {"table city, municipality", Accommodation("city", Slot("city", "北京")), "", {Shell(kHotelCity + "beijing_city/")}},
        {"pinyin, municipality", Accommodation("city", Slot("city", "天津")), "", {Shell(kHotelCity + "tianjin_city/")}},
        {"table city", Accommodation("city", Slot("city", "厦门")), "", {Shell(kHotelCity + "xiamen/")}},
        {"pinyin", Accommodation("city", Slot("city", "杭州")), "", {Shell(kHotelCity + "hangzhou/")}},
        {"Hong Kong", Accommodation("city", Slot("city", "香港")), "", {Shell(kHotelCity + "hongkong_city/")}},
        {"Macao", Accommodation("city", Slot("city", "澳门")), "", {Shell(kHotelCity + "macao_city/")}},
        {"district dropped", Accommodation("area", Slot("area", "海淀区")), "", {Shell(kHotelCity + "haidian/")}},
        {"county dropped", Accommodation("area", Slot("area", "重庆县")), "", {Shell(kHotelCity + "chongqing_city/")}},
        {"short name kept", Accommodation("area", Slot("area", "新区")), "", {Shell(kHotelCity + "xinqu/")}},
        {"city suffix kept here", Accommodation("city", Slot("city", "北京市")), "", {Shell(kHotelCity + "beijingshi/")}},
        {"hotel name unencoded", Accommodation("city", Slot("city", "成都") + "," + Slot("hotel", "如家 酒店")), "",
         {Shell(kHotelCity + "chengdu/q-如家 酒店")}},
        {"computer city and date", Accommodation("date", Slot("date", "明天", kEscapedDate)), "北京",
         {City("北京"), Shell(kHotelCity + "beijing_city/#fromDate=2026-12-08")}},
        {"invalid date", Accommodation("date", Slot("date", "明天", "{")), "厦门",
         {City("厦门"), Shell(kHotelCity + "xiamen/")}},
        {"no city", Accommodation("hotel", Slot("hotel", "如家")), "", {City(""), Shell(kHotelHome)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RunHotel<VeJsonHotel>("VELMORA.accommodation", c.result, c.computerCity), c.trace);
    }
}

std::string Found(const std::string& result, const std::string& slots = "") {
    return R"({"service":"hotelSearch","semantic":{"slots":[)" + slots + R"(]},"data":{"result":[)" + result + "]}}";
}

TEST_F(TravelSceneTest, HotelSearchPages) {
    const struct { const char* what; std::string result; Lines trace; } cases[] = {
        {"Hong Kong by its full name", Found(R"({"city":"香港特别行政区","name":"半岛酒店"})"),
         {Shell(kHotelCity + "hongkong_city/q-半岛酒店")}},
        {"Macao by its full name", Found(R"({"city":"澳门特别行政区","name":"葡京"})"),
         {Shell(kHotelCity + "macao_city/q-葡京")}},
        {"short Hong Kong is plain pinyin here", Found(R"({"city":"香港","name":"半岛酒店"})"),
         {Shell(kHotelCity + "xianggang/q-半岛酒店")}},
        {"city suffix dropped", Found(R"({"city":"北京市","name":"如家"})"), {Shell(kHotelCity + "beijing_city/q-如家")}},
        {"centre as the name", Found(R"({"city":"成都","center":"春熙路"})"), {Shell(kHotelCity + "chengdu/q-春熙路")}},
        {"slots", Found("", Slot("location.city", "厦门") + "," + Slot("location.poi", "鼓浪屿")),
         {Shell(kHotelCity + "xiamen/q-鼓浪屿")}},
        {"slot name before the centre", Found("", Slot("location.poi", "鼓浪屿") + "," + Slot("name", "如家")),
         {City("上海"), Shell(kHotelCity + "shanghai_city/q-如家")}},
        {"nothing to find", Found(R"({"city":"成都"})"), {Shell(kHotelHome)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RunHotel<VeJsonHotelSearch>("hotelSearch", c.result, "上海"), c.trace);
    }
    // No city anywhere: no city page to search in.
    EXPECT_EQ(RunHotel<VeJsonHotelSearch>("hotelSearch", Found(R"({"name":"如家"})"), ""),
              (Lines{City(""), Shell(kHotelHome)}));
}

}  // namespace
