#pragma once
// Rules the travel scenes share: which slot names a place, where a trip starts, which day it
// is, and how the hotel site names a city in its paths. Texts are GBK.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/VeJson.h"

// The first non-empty normValue among the named slots, in the order given.
std::string FirstSlotNormValue(const VeJson& doc, std::initializer_list<const char*> slotNames);

// The engine fills the departure on its own when none was spoken, and "CURRENT_CITY" or a
// departure equal to the destination is no route either: such a departure becomes the
// computer's city, unless the host cannot tell it.
std::string DepartureCity(std::string departure, const std::string& destination, const std::string& gbkText);

// The day held in a date object that came as escaped text: its "suggestDatetime", else its
// "datetime"; empty for no object or one that does not parse.
std::string DateOfObject(const std::string& gbkObject);
// The day of the "startDate" slot, else today.
std::string TravelDate(const VeJson& doc);

// Removes the final character of a name longer than `longerThan` bytes when it is one of
// `suffixes` (whole GBK characters); true when it did.
bool DropFinalCharacter(std::string& gbkName, size_t longerThan, std::initializer_list<std::string_view> suffixes);

// How a scene writes the two special administrative regions, and which final characters it
// drops from longer city names before the lookup.
struct HotelCityNaming {
    std::string hongKong;
    std::string macao;
    std::vector<std::string> suffixes;
};
const HotelCityNaming& AccommodationNaming();  // 香港, 澳门; drops 县 and 区
const HotelCityNaming& HotelSearchNaming();    // 香港特别行政区, 澳门特别行政区; drops 县, 区 and 市

// The city's segment in the hotel site's paths: the region table's name, else the pinyin;
// the four municipalities carry "_city".
std::string HotelCitySegment(std::string gbkCity, const HotelCityNaming& naming);
