# Turns data/pinyin.txt (written by tools/pinyin-gen.py) into a C++ source, so the library
# carries its reading table and needs no data file at run time.
# usage: cmake -DIN=data/pinyin.txt -DOUT=PinyinTable.cpp -P tools/pinyin-gen.cmake
file(STRINGS "${IN}" lines ENCODING UTF-8)

set(codes "")
set(readings "")
set(pool "")
set(pool_size 0)
set(count 0)
set(previous "")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([0-9A-F][0-9A-F][0-9A-F][0-9A-F]) [^ ]+ ([a-z]+)$")
    message(FATAL_ERROR "${IN}: bad line '${line}'")
  endif()
  set(code "${CMAKE_MATCH_1}")
  set(reading "${CMAKE_MATCH_2}")
  # The library finds a code by binary search.
  if(NOT previous STRLESS code)
    message(FATAL_ERROR "${IN}: ${code} is out of order")
  endif()
  set(previous "${code}")
  # Each syllable is stored once; an entry holds its pool offset * 8 + its length.
  if(NOT DEFINED "offset_${reading}")
    string(LENGTH "${reading}" length)
    if(length GREATER 7)
      message(FATAL_ERROR "${IN}: reading '${reading}' is too long")
    endif()
    math(EXPR "offset_${reading}" "${pool_size} * 8 + ${length}")
    math(EXPR pool_size "${pool_size} + ${length}")
    string(APPEND pool "${reading}")
  endif()
  string(APPEND codes "0x${code},")
  string(APPEND readings "${offset_${reading}},")
  math(EXPR count "${count} + 1")
  math(EXPR wrap "${count} % 16")
  if(wrap EQUAL 0)
    string(APPEND codes "\n")
    string(APPEND readings "\n")
  endif()
endforeach()
if(pool_size GREATER 8191)
  message(FATAL_ERROR "${IN}: the syllable pool outgrew its 13-bit offsets")
endif()

file(CONFIGURE OUTPUT "${OUT}" @ONLY CONTENT [=[
// Generated from data/pinyin.txt by tools/pinyin-gen.cmake.
#include <cstddef>
#include <cstdint>

namespace pinyin_table {

extern const std::size_t kCount = @count@;
// GBK codes (lead byte * 256 + trail byte), ascending.
extern const std::uint16_t kCodes[] = {
@codes@};
// The reading of kCodes[i]: offset into kPool * 8 + length.
extern const std::uint16_t kReadings[] = {
@readings@};
extern const char kPool[] = "@pool@";

}  // namespace pinyin_table
]=])
