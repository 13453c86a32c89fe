#include "scenes/semantic/travel/TravelRules.h"

#include <algorithm>

#include "host/CUtil.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeNet.h"
#include "scenes/semantic/SemanticSlots.h"
#include "scenes/shared/DataTables.h"

namespace {

// Where the last character of the GBK text begins (its size for an empty text).
bool DropFinal(std::string& gbkName, size_t longerThan, const auto& suffixes) {
    if (gbkName.size() <= longerThan) return false;
    const size_t last = LastGbkCharStart(gbkName);
    const std::string_view lastCharacter = std::string_view(gbkName).substr(last);
    for (std::string_view suffix : suffixes) {
        if (lastCharacter == suffix) {
            gbkName.erase(last);
            return true;
        }
    }
    return false;
}

}  // namespace

std::string FirstSlotNormValue(const VeJson& doc, std::initializer_list<const char*> slotNames) {
    for (const char* name : slotNames) {
        std::string value = SlotNormValue(doc, name);
        if (!value.empty()) return value;
    }
    return {};
}

std::string DepartureCity(std::string departure, const std::string& destination, const std::string& gbkText) {
    if (departure.empty() || departure == "CURRENT_CITY") return VeAddress::GetCity();
    if (SaidIn(gbkText, departure) && departure != destination) return departure;
    std::string here = VeAddress::GetCity();
    return here.empty() ? departure : here;
}

std::string DateOfObject(const std::string& gbkObject) {
    if (gbkObject.empty()) return {};
    std::string text = gbkObject;
    std::erase(text, '\\');
    VeJson object(VeChar::VeUnicodeChar_2_Utf8(text).c_str());
    if (!object.IsValid()) return {};
    object.Utf8ToUnicode();
    std::string date = object.Get("suggestDatetime");
    return date.empty() ? object.Get("datetime") : date;
}

std::string TravelDate(const VeJson& doc) {
    std::string date = DateOfObject(SlotNormValue(doc, "startDate"));
    return date.empty() ? TyTime::GetTime_2020_01_01() : date;
}

bool DropFinalCharacter(std::string& gbkName, size_t longerThan, std::initializer_list<std::string_view> suffixes) {
    return DropFinal(gbkName, longerThan, suffixes);
}

const HotelCityNaming& AccommodationNaming() {
    static const HotelCityNaming naming{GBK("香港"), GBK("澳门"), {GBK("县"), GBK("区")}};
    return naming;
}

const HotelCityNaming& HotelSearchNaming() {
    static const HotelCityNaming naming{GBK("香港特别行政区"), GBK("澳门特别行政区"), {GBK("县"), GBK("区"), GBK("市")}};
    return naming;
}

std::string HotelCitySegment(std::string gbkCity, const HotelCityNaming& naming) {
    if (gbkCity == naming.hongKong) return "hongkong_city";
    if (gbkCity == naming.macao) return "macao_city";
    DropFinal(gbkCity, 5, naming.suffixes);
    const auto& regions = GetHotelRegionTable();
    const auto row = regions.find(gbkCity);
    std::string segment = row != regions.end() ? row->second : VeChar::PinyinTransform(gbkCity);
    for (const char* municipality : {"shanghai", "tianjin", "beijing", "chongqing"})
        if (segment == municipality) return segment + "_city";
    return segment;
}
