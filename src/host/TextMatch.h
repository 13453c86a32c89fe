#pragma once
// Phrase tests shared by the dispatchers, rules and command tables.
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/CString.h"

// Where `part` begins in the GBK `text`, counting only matches that begin on a character:
// the bytes of a word can also run from the trail byte of one character into the next.
size_t FindGbk(std::string_view text, std::string_view part);
// Where the last character of the GBK `text` begins (text.size() when it is empty); a byte that
// cannot begin a character counts as one.
size_t LastGbkCharStart(std::string_view text);

inline bool ContainsGbk(std::string_view text, std::string_view part) {
    return FindGbk(text, part) != std::string_view::npos;
}

// Whether the user said `name` (a place, an application, a command phrase taken from a slot or a
// reply) in the GBK utterance `text`: the one comparison every "said or not" decision uses. A
// place also counts as said by its name without the administrative suffix (北京 for 北京市,
// 新疆 for 新疆维吾尔自治区), as long as at least two characters are left.
bool SaidIn(std::string_view text, std::string_view name);
// Whether the user said the program or command `name` whole in the GBK utterance `text`:
// somewhere the words before it are only requests and actions (请, 帮我, 打开, 把 ...) or end with
// a break (，, 和, 的 ...), and the words after it only actions and particles (关掉, 吧, 程序 ...)
// or begin with a break. Part of a longer name (记事本 in 记事本Plus, QQ in QQ音乐) is not said,
// and unlike a place, no ending comes off or is added.
bool SaidWhole(std::string_view text, std::string_view name);
// Whether the utterance asks how to do something, or whether, rather than asking for it done
// (怎么删除文件, 如何关机, 全选是什么, 能关机吗, a question mark).
bool AsksAQuestion(std::string_view text);
// `name` without its administrative suffix, or `name` itself when none comes off.
std::string_view WithoutPlaceSuffix(std::string_view name);

// Whole-text equality with any phrase, and containment of any part (UTF-16).
bool IsOneOf(const CString& text, std::initializer_list<const char16_t*> phrases);
bool ContainsAny(const CString& text, std::initializer_list<const char16_t*> parts);
