// Reading the office command grammars and looking spoken texts up in them.
#include "TestSupport.h"

using namespace vetest;

namespace {

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? separator : "") + (parts[i].empty() ? "∅" : Utf8(parts[i]));
    return out;
}

// "table: phrase|phrase => token token", in table order, empty texts shown as ∅.
Lines Dump() {
    const std::pair<const char*, OfficeCtrlTable*> tables[] = {
        {"office", &OfficeTable()}, {"word", &WordTable()}, {"ppt", &PptTable()},
        {"excel", &ExcelTable()},   {"outppt", &OutPptTable()},
    };
    Lines out;
    for (const auto& [name, table] : tables)
        for (const auto& [phrases, keys] : *table)
            out.push_back(std::string(name) + ": " + Join(phrases, "|") + " => " + Join(keys, " "));
    return out;
}

class OfficeGrammarTest : public SimTest {
protected:
    void SetUp() override { ResetGrammars(); }
    void TearDown() override { ResetGrammars(); }
};

TEST_F(OfficeGrammarTest, RecordsHeadersAndEntries) {
    const Lines officeWord = {"----office,word----;", "保存,保存文件:CTRL+S;"};
    const Lines both = {"office: 保存|保存文件 => CTRL + S", "word: 保存|保存文件 => CTRL + S"};
    const std::string crlf = Records(officeWord);
    std::u16string utf16 = u"----office----;\r\n保存:CTRL+S;\r\n";
    const struct { const char* what; std::string file; Lines tables; } cases[] = {
        {"LF, text after the last ';'", Records(officeWord, "\n") + Gbk("另存:F12"), both},
        {"blank lines", Records(officeWord, "\r\n\r\n\n\n"), both},
        {"one line", Gbk("--office,word--;保存,保存文件:CTRL+S;"), both},
        {"';' then CR", crlf.substr(0, crlf.size() - 1), both},
        {"up to the first zero byte", crlf + '\0' + Records({"另存:F12;"}), both},
        {"UTF-16", std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2), {}},
        {"sections",
         Records({"早:A;", "--OFFICE--;", "甲:B;", "--ppt,,excel,xyz--;", "乙:C;", "-foo-;", "丙:D;", "-excel-;", "丁:E;"}),
         {"ppt: 乙 => C", "excel: 丁 => E", "excel: 乙 => C"}},
        {"key lists", Records({"-word-;", "b:ALT+F,S;", "c:#你好;", "d:A::B;", "e:;", "f:A++B;", "x,,y:A;", " 保存 :A;"}),
         {"word:  保存  => A", "word: b => ALT + F , S", "word: c => #你好", "word: d => A::B", "word: e => ∅",
          "word: f => A + ∅ + B", "word: x|∅|y => A"}},
        {"first of equal phrase lists stays",
         Records({"-excel-;", "保存:CTRL+S;", "保存:CTRL+W;", "保存,另存:F12;", "-excel-;", "保存:F1;"}),
         {"excel: 保存 => CTRL + S", "excel: 保存|另存 => F12"}},
    };
    for (const auto& c : cases) {
        ResetGrammars();
        WriteGrammar(kGrammar, c.file);
        LoadOfficeCtrlGrammar();
        EXPECT_EQ(Dump(), c.tables) << c.what;
    }
    // The slide-show file has no sections: records without ':' are skipped.
    ResetGrammars();
    WriteGrammar(kOutPpt, Records({"下一页:PAGEDOWN;", "--office--;", "黑屏:B;"}, "\n"));
    LoadOfficeCtrlOutPptGrammar();
    EXPECT_EQ(Dump(), (Lines{"outppt: 黑屏 => B", "outppt: 下一页 => PAGEDOWN"}));
}

TEST_F(OfficeGrammarTest, Limits) {
    auto numbered = [](const std::string& prefix, int count, const std::string& separator) {
        std::string out;
        for (int i = 0; i < count; ++i) out += (i ? separator : "") + prefix + std::to_string(i);
        return out;
    };
    // 199 records per file, the header included.
    WriteGrammar(kGrammar, "-excel-;\r\n" + numbered("k", 200, ":A;\r\n") + ":A;\r\n");
    WriteGrammar(kOutPpt, numbered("k", 200, ":A;\r\n") + ":A;\r\n");
    LoadOfficeCtrlGrammar();
    LoadOfficeCtrlOutPptGrammar();
    EXPECT_FALSE(FindKeysByEquality(ExcelTable(), "k197").empty());
    EXPECT_TRUE(FindKeysByEquality(ExcelTable(), "k198").empty());
    EXPECT_EQ(OutPptTable().size(), 199u);

    ResetGrammars();
    WriteGrammar(kGrammar, Records({"-" + numbered("x", 98, ",") + ",word-;", "w:A;",  // 99th name
                             "-" + numbered("x", 99, ",") + ",ppt-;", "p0:A;"}) +  // 100th: ignored
                        "-office-;\r\n" + numbered("p", 100, ",") + ":A;\r\n" +  // 100 phrases: 99 kept
                        "q:" + numbered("A", 99, ",") + ";\r\n" +                // 98 separators: stored
                        "r:" + numbered("A", 100, "+") + ";\r\n");               // 99: not stored
    LoadOfficeCtrlGrammar();
    ASSERT_EQ(OfficeTable().size(), 2u);
    EXPECT_EQ(FindKeysByEquality(OfficeTable(), "q").size(), 197u);
    EXPECT_EQ(Dump().front(), "office: " + numbered("p", 99, "|") + " => A");
    EXPECT_EQ(WordTable().size(), 1u);
    EXPECT_TRUE(PptTable().empty());
}

TEST_F(OfficeGrammarTest, EnsureReloadsUntilThereIsAnOfficeSection) {
    EnsureOfficeCtrlGrammars();
    EXPECT_TRUE(Dump().empty());
    WriteGrammar(kGrammar, Records({"-word-;", "a:A;"}));
    EnsureOfficeCtrlGrammars();
    EXPECT_EQ(Dump(), Lines{"word: a => A"});

    // Read again: what is missing is added; an entry before the first header belongs to no
    // section on a reload either.
    WriteGrammar(kGrammar, Records({"x:X;", "-office-;", "o:O;", "-word-;", "a:Z;", "b:B;"}));
    WriteGrammar(kOutPpt, Records({"黑屏:B;"}));
    EnsureOfficeCtrlGrammars();
    const Lines loaded = {"office: o => O", "word: a => A", "word: b => B", "outppt: 黑屏 => B"};
    EXPECT_EQ(Dump(), loaded);
    WriteGrammar(kGrammar, Records({"-office-;", "n:N;"}));
    WriteGrammar(kOutPpt, Records({"白屏:W;"}));
    EnsureOfficeCtrlGrammars();
    EXPECT_EQ(Dump(), loaded);
}

TEST_F(OfficeGrammarTest, LastMatchInTableOrderWins) {
    WriteGrammar(kGrammar, Records({"-word,ppt-;", "保存,存盘:CTRL+S;", "z:Z;", "中:Y;", "下一页:PAGEDOWN;",
                                    "下一页,翻页:END;", "黑屏:B;"}));
    LoadOfficeCtrlGrammar();
    // "equality on the word table/containment on the ppt table"; empty for no match.
    const struct { std::string text; const char* found; } cases[] = {
        {"存盘", "CTRL + S/CTRL + S"}, {"请保存一下", "/CTRL + S"}, {"z中", "/Y"} /* GBK sorts after ASCII */,
        {"下一页", "END/END"}, {"翻到下一页", "/END"}, {"Z", "/"}, {"", "/"},
        {"昂谄立", "/"} /* holds the bytes of 黑屏 across characters */,
    };
    for (const auto& c : cases) {
        std::vector<std::string> keys;
        FindPPtKeys(Gbk(c.text), keys);
        EXPECT_EQ(Join(FindKeysByEquality(WordTable(), Gbk(c.text)), " ") + "/" + Join(keys, " "), c.found) << c.text;
    }
    // Phrases compared as GBK: UTF-8 text matches nothing and leaves the keys alone.
    EXPECT_TRUE(FindKeysByEquality(WordTable(), "保存").empty());
    std::vector<std::string> untouched = {"X"};
    FindPPtKeys("保存", untouched);
    EXPECT_EQ(untouched, Lines{"X"});

    // An empty phrase occurs in every text; it loses to any entry that sorts after it.
    WriteGrammar(kOutPpt, Records({",a:E;", "黑屏:B;"}));
    LoadOfficeCtrlOutPptGrammar();
    for (const auto& [text, keys] : std::vector<std::pair<std::string, std::string>>{{"随便说点什么", "E"}, {"黑屏吧", "B"}})
        EXPECT_EQ(Join(FindKeysByContainment(OutPptTable(), Gbk(text)), " "), keys) << text;
    EXPECT_EQ(FindKeysByEquality(OutPptTable(), ""), Lines{"E"});
}

}  // namespace
