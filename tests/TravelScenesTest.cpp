// The travel scenes: which slots make the route, when the computer's city replaces the
// departure, which day is searched, how a hotel city becomes a path segment.
#include "TestSupport.h"
#include "scenes/semantic/travel/TravelRules.h"
#include "scenes/semantic/travel/VeJsonFlight.h"
#include "scenes/semantic/travel/VeJsonHotel.h"
#include "scenes/semantic/travel/VeJsonHotelSearch.h"
#include "scenes/semantic/travel/VeJsonTrain.h"

using namespace vetest;
using namespace vetest::calls;

namespace {

const std::string kFlightRoot = "http://flight.qunar.com";
const std::string kTickets = "https://kyfw.12306.cn/otn/leftTicket/init";
const std::string kHotelHome = "http://hotel.qunar.com/";
const std::string kHotelCity = "http://hotel.qunar.com/city/";
// The date object as the engine sends it: JSON text, here with its quotes escaped once more.
const char* const kEscapedDate = R"({\"datetime\":\"2026-12-07\",\"suggestDatetime\":\"2026-12-08\"})";
const char* const kToday = "2026-12-06";  // the simulated desktop's date

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
    std::string slots = from ? Slot(startSlot, from, from) : "";
    if (to) slots += (slots.empty() ? "" : ",") + Slot(endSlot, to, to);
    if (date) slots += "," + Slot("startDate", "明天", date);
    return slots;
}
std::string Trip(const char* from, const char* to, const char* date = nullptr) {
    return Route("startLoc.cityAddr", from, "endLoc.cityAddr", to, date);
}

using TravelSceneTest = SceneTest;

TEST_F(TravelSceneTest, FlightRoutesAndDates) {
    const auto today = [](const char* from, const char* to) { return Lines{kTodayCall, Shell(Flight(from, to, kToday))}; };
    Check<VeJsonFlight>("flight", {
        {"明天南京到上海的机票", Trip("南京", "上海", kEscapedDate), {Shell(Flight("南京", "上海", "2026-12-08"))}, "北京"},
        // The computer's city stands in for a departure not given, not said, or the destination itself.
        {"去上海的机票", Trip(nullptr, "上海"), Concat({City("武汉")}, today("武汉", "上海")), "武汉"},
        {"去上海的机票", Trip("南京", "上海"), Concat({City("武汉")}, today("武汉", "上海"))},
        {"上海的机票", Trip("上海", "上海"), Concat({City("武汉")}, today("武汉", "上海"))},
        {"去上海的机票", Trip("CURRENT_CITY", "上海"), {City(""), Shell(kFlightRoot)}, ""},
        {"南京的机票", Trip("南京", nullptr), {Shell(kFlightRoot)}, "武汉"},
        {"南京到上海", Route("startLoc.city", "南京", "endLoc.areaAddr", "上海"), today("南京", "上海")},
        // The engine's own endLoc.city is no destination.
        {"南京到上海", Route("startLoc.cityAddr", "南京", "endLoc.city", "上海"), {Shell(kFlightRoot)}},
        // Date objects: plain or escaped, the suggestion first; a broken one means today.
        {"南京到上海", Trip("南京", "上海", R"({"datetime":"2026-12-07","suggestDatetime":"2026-12-08"})"),
         {Shell(Flight("南京", "上海", "2026-12-08"))}, "北京"},
        {"南京到上海", Trip("南京", "上海", R"({\"datetime\":\"2026-12-07\",\"suggestDatetime\":\"\"})"),
         {Shell(Flight("南京", "上海", "2026-12-07"))}},
        {"南京到上海", Trip("南京", "上海", R"({"datetime":"2026-12-07")"), today("南京", "上海")},
        {"南京到上海", Trip("南京", "上海", R"({"datetime":"2026\"-12-07"})"), today("南京", "上海")},
    });
}

TEST_F(TravelSceneTest, TrainRoutes) {
    const auto today = [](const char* from, const char* fromCode, const char* to, const char* toCode) {
        return Lines{kTodayCall, Shell(Train(from, fromCode, to, toCode, kToday))};
    };
    Check<VeJsonTrain>("train", {
        {"后天南京市到上海的火车", Trip("南京市", "上海", kEscapedDate),
         {Shell(Train("南京", "NJH", "上海", "SHH", "2026-12-08"))}, "北京"},
        {"岳阳县到武汉的火车", Trip("岳阳县", "武汉"), today("岳阳", "YYQ", "武汉", "WHN")},
        {"去广州的火车", Trip("CURRENT_CITY", "广州"), Concat({City("北京")}, today("北京", "BJP", "广州", "GZQ"))},
        {"去广州的火车", Trip("南京", "广州"), Concat({City("")}, today("南京", "NJH", "广州", "GZQ")), ""},
        {"广州的火车", Trip("广州", "广州"), {City(""), Shell(kTickets)}},
        // 资阳 and 西安南 are in no station list today.
        {"资阳到广州的火车", Trip("资阳", "广州"), {Shell(kTickets)}, "北京"},
        {"南京到西安南的火车", Trip("南京", "西安南"), {Shell(kTickets)}},
        {"南京到武汉", Route("startLoc.poi", "南京", "endLoc.poi", "武汉"), today("南京", "NJH", "武汉", "WHN")},
        // The destination by its name without 市.
        {"南京到张家口市的火车", Trip("南京", "张家口市"), today("南京", "NJH", "张家口", "ZMP")},
    });
    // Today's codes of the stations whose codes changed, stations the old table lacked, and
    // cities found by their only station (南平 is 南平市, 临高 is 临高南).
    std::vector<SceneCase> stations;
    const std::pair<const char*, const char*> kCodes[] = {
        {"张家口", "ZMP"}, {"遵义", "ZYE"}, {"宜宾", "YKE"}, {"抚顺", "FET"}, {"阜新", "FOT"}, {"赤峰", "CID"},
        {"乌海", "IAC"}, {"台州", "TEU"}, {"江门", "JOQ"}, {"揭阳", "JYA"}, {"三明", "SVS"}, {"济南东", "MDK"},
        {"合肥西", "HFU"}, {"襄阳东", "EKN"}, {"惠州南", "KNA"}, {"临沂北", "UMK"}, {"廊坊北", "LBI"},
        {"张家口南", "IXP"}, {"平顶山西", "PDF"}, {"玉溪", "AXM"}, {"楚雄", "CUM"}, {"自贡", "ZGE"}, {"华山", "HGY"},
        {"石嘴山", "OZJ"}, {"泸州", "LUE"}, {"毕节", "BOE"}, {"宿迁", "SQU"}, {"昆明南", "KOM"}, {"拉萨", "LSO"},
        {"南平", "NOS"}, {"临高", "KGQ"},
    };
    std::vector<std::string> texts;
    for (const auto& [from, code] : kCodes) texts.push_back(std::string(from) + "到北京的火车");
    for (size_t i = 0; i < std::size(kCodes); ++i) {
        const auto& [from, code] = kCodes[i];
        stations.push_back({texts[i].c_str(), Trip(from, "北京"), today(from, code, "北京", "BJP")});
    }
    Check<VeJsonTrain>("train", stations);
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

TEST_F(TravelSceneTest, HotelPages) {
    const auto stay = [](const char* intent, const std::string& slots) {
        return std::string(R"({"service":"VELMORA.accommodation","semantic":{"intent":")") + intent +
               R"(","slots":[)" + slots + "]}}";
    };
    Check<VeJsonHotel>("VELMORA.accommodation", {
        {"", stay("city", Slot("city", "天津")), {Shell(kHotelCity + "tianjin_city/")}, ""},
        {"", stay("city", Slot("city", "香港")), {Shell(kHotelCity + "hongkong_city/")}},
        {"", stay("city", Slot("city", "澳门")), {Shell(kHotelCity + "macao_city/")}},
        {"", stay("area", Slot("area", "海淀区")), {Shell(kHotelCity + "haidian/")}},
        {"", stay("area", Slot("area", "重庆县")), {Shell(kHotelCity + "chongqing_city/")}},
        {"", stay("area", Slot("area", "新区")), {Shell(kHotelCity + "xinqu/")}},
        {"", stay("city", Slot("city", "北京市")), {Shell(kHotelCity + "beijing_city/")}},  // 市 stays: the table has both
        {"", stay("area", Slot("area", "沙河市")), {Shell(kHotelCity + "shahe/")}},
        {"", stay("city", Slot("city", "延边朝鲜族自治州")), {Shell(kHotelCity + "yanbian/")}},
        {"", stay("city", Slot("city", "都匀")), {Shell(kHotelCity + "duyun/")}},  // a reading corrected by hand
        {"", stay("city", Slot("city", "锡林郭勒盟")), {Shell(kHotelCity + "xilinguolemeng/")}},
        {"", stay("city", Slot("city", "成都") + "," + Slot("hotel", "如家 酒店")), {Shell(kHotelCity + "chengdu/q-如家%20酒店")}},
        {"", stay("city", Slot("city", "a/b#c") + "," + Slot("hotel", "x\"/?&")),
         {Shell(kHotelCity + "a%2Fb%23c/q-x%22%2F%3F%26")}},
        {"", stay("date", Slot("date", "明天", kEscapedDate)),
         {City("北京"), Shell(kHotelCity + "beijing_city/#fromDate=2026-12-08")}, "北京"},
        {"", stay("date", Slot("date", "明天", "{")), {City("厦门"), Shell(kHotelCity + "xiamen/")}, "厦门"},
        {"", stay("hotel", Slot("hotel", "如家")), {City(""), Shell(kHotelHome)}, ""},
    }, true);
}

TEST_F(TravelSceneTest, HotelSearchPages) {
    const auto found = [](const std::string& result, const std::string& slots = "") {
        return R"({"service":"hotelSearch","semantic":{"slots":[)" + slots + R"(]},"data":{"result":[)" + result + "]}}";
    };
    Check<VeJsonHotelSearch>("hotelSearch", {
        {"", found(R"({"city":"香港特别行政区","name":"半岛酒店"})"), {Shell(kHotelCity + "hongkong_city/q-半岛酒店")}, "上海"},
        {"", found(R"({"city":"香港","name":"半岛酒店"})"), {Shell(kHotelCity + "xianggang/q-半岛酒店")}},
        {"", found(R"({"city":"北京市","name":"如家"})"), {Shell(kHotelCity + "beijing_city/q-如家")}},
        {"", found(R"({"city":"成都","center":"春熙路"})"), {Shell(kHotelCity + "chengdu/q-春熙路")}},
        {"", found("", Slot("location.city", "厦门") + "," + Slot("location.poi", "鼓浪屿")),
         {Shell(kHotelCity + "xiamen/q-鼓浪屿")}},
        {"", found("", Slot("location.poi", "鼓浪屿") + "," + Slot("name", "如家")),
         {City("上海"), Shell(kHotelCity + "shanghai_city/q-如家")}},
        {"", found(R"({"city":"成都"})"), {Shell(kHotelHome)}},
        {"", found(R"({"city":"evil.example/#","name":"a b\r\n"})"), {Shell(kHotelCity + "evil.example%2F%23/q-a%20b%0D%0A")}},
        {"", found(R"({"name":"如家"})"), {City(""), Shell(kHotelHome)}, ""},  // no city page to search in
    }, true);
}

}  // namespace
