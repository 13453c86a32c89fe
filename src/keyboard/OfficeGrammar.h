#pragma once
// The office command grammars: spoken phrases (GBK) to key tokens, read from
// "officectrl.grm" (sections office, word, ppt, excel) and "officectrloutppt.grm".
#include <map>
#include <string>
#include <vector>

// Ordered by the phrase lists, byte by byte as unsigned bytes: the order decides lookups.
using OfficeCtrlTable = std::map<std::vector<std::string>, std::vector<std::string>>;

OfficeCtrlTable& OfficeTable();
OfficeCtrlTable& WordTable();
OfficeCtrlTable& PptTable();
OfficeCtrlTable& ExcelTable();
OfficeCtrlTable& OutPptTable();

void LoadOfficeCtrlGrammar();
void LoadOfficeCtrlOutPptGrammar();
// Loads each file whose guarding table (office, out-of-slide-show) is still empty.
void EnsureOfficeCtrlGrammars();
// Empties the five tables, so that tests can load different grammars in one process.
void ResetOfficeCtrlTables();

// The token list of the last entry in table order with a phrase equal to / contained in
// the text; empty when none.
std::vector<std::string> FindKeysByEquality(const OfficeCtrlTable& table, const std::string& text);
std::vector<std::string> FindKeysByContainment(const OfficeCtrlTable& table, const std::string& text);
// Containment on the ppt table; assigns `keys` only on a match.
void FindPPtKeys(const std::string& text, std::vector<std::string>& keys);
