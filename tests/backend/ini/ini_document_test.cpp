#include "platform/backend/ini/ini_document.h"

#include <gtest/gtest.h>

using tavren::backend::ini::IniDocument;

namespace {

struct Lookup {
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

// ctest names each case by what this prints (gtest would print the struct's bytes),
// and a failing case shows its document and key.
void PrintTo(const Lookup& c, std::ostream* out) {
    *out << ::testing::PrintToString(std::string(c.text)) << " [" << c.section << "] " << c.key
         << " -> " << ::testing::PrintToString(c.expected);
}

class IniLookupTest : public ::testing::TestWithParam<Lookup> {};

TEST_P(IniLookupTest, FindsTheFirstMatchingKeyOfAMatchingSection) {
    const Lookup& c = GetParam();
    EXPECT_EQ(IniDocument(c.text).find(c.section, c.key), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniLookupTest,
    ::testing::Values(
        Lookup{"[Option]\nButtonGap=3\n", "Option", "ButtonGAP", "3"},
        Lookup{"[OPTION]\nbuttongap=7\n", "option", "ButtonGAP", "7"},
        Lookup{"[Option]\nchk_uo=1", "Option", "chk_uo", "1"}, // no final line end
        Lookup{"[Option]\r\nchk_uo=1\r\n", "Option", "chk_uo", "1"},
        Lookup{"  [ Option ]  \n  chk_uo  =  1  \n", "Option", "chk_uo", "1"},
        Lookup{"[Option]\nchk_uo=\n", "Option", "chk_uo", ""},
        Lookup{"[Option]\nchk_uo=1\nchk_uo=2\n", "Option", "chk_uo", "1"},
        Lookup{"[Option]\n[Form]\nchk_uo=1\n", "Option", "chk_uo", std::nullopt},
        Lookup{"chk_uo=1\n[Option]\n", "Option", "chk_uo", std::nullopt}, // before any section
        Lookup{"[Option]\n;chk_uo=1\n#chk_uo=2\n", "Option", "chk_uo", std::nullopt},
        Lookup{"[Option]\nchk_uo\n", "Option", "chk_uo", std::nullopt},  // no '='
        Lookup{"[Option\nchk_uo=1\n", "Option", "chk_uo", std::nullopt}, // no ']'
        Lookup{"[Option]\na=b=c\n", "Option", "a", "b=c"},
        Lookup{"\xEF\xBB\xBF[nick]\ntxt=\xE3\x81\x82\n", "nick", "txt", "\xE3\x81\x82"},
        Lookup{"[a]\nx=1\n[b]\nx=2\n[A]\ny=3\n", "a", "y", "3"}, // a repeated section
        Lookup{"", "Option", "chk_uo", std::nullopt}));

TEST(IniDocumentTest, ANewDocumentHoldsSectionsInOrderOfFirstWriteAndKeysInWriteOrder) {
    IniDocument doc;
    doc.set("Option", "chk_enter", "2");
    doc.set("Form", "top", "-15");
    doc.set("Option", "ButtonGap", "3");
    doc.set("nick", "txt", "Taro");
    EXPECT_EQ(doc.text(), "[Option]\nchk_enter=2\nButtonGap=3\n\n[Form]\ntop=-15\n\n"
                          "[nick]\ntxt=Taro\n");
}

TEST(IniDocumentTest, ReplacesInPlaceAndKeepsEveryOtherLineAsItWas) {
    const std::string before = "; written by hand\n"
                               "[Other]\n"
                               "keep = me\n"
                               "\n"
                               "[OPTION]\n"
                               "  ButtonGAP = 9  ; not a comment here\n"
                               "stray text\n"
                               "chk_uo=1\n"
                               "\n"
                               "; about Form\n"
                               "[Form]\n"
                               "top=1\n"
                               "; the end\n";
    IniDocument doc(before);
    doc.set("Option", "ButtonGap", "3");
    doc.set("option", "chk_enter", "2");
    doc.set("nick", "txt", "x");
    EXPECT_EQ(doc.text(), "; written by hand\n"
                          "[Other]\n"
                          "keep = me\n"
                          "\n"
                          "[OPTION]\n"
                          "  ButtonGAP = 3\n"
                          "stray text\n"
                          "chk_uo=1\n"
                          "chk_enter=2\n"
                          "\n"
                          "; about Form\n"
                          "[Form]\n"
                          "top=1\n"
                          "; the end\n"
                          "\n"
                          "[nick]\n"
                          "txt=x\n");
}

TEST(IniDocumentTest, KeepsCarriageReturnLineEndsAndUsesThemForNewLines) {
    IniDocument doc("[Option]\r\nchk_uo=1\r\n[Form]\r\ntop=1");
    doc.set("Option", "chk_uo", "0");
    doc.set("Form", "left", "2");
    EXPECT_EQ(doc.text(), "[Option]\r\nchk_uo=0\r\n[Form]\r\ntop=1\r\nleft=2\r\n");
}

TEST(IniDocumentTest, AReturnEndingTheFileStaysInItsValueWhenALineIsAdded) {
    IniDocument doc("[Option]\nButtonGap=5\r");
    doc.set("nick", "txt", "k");
    EXPECT_EQ(IniDocument(doc.text()).find("Option", "ButtonGap"), "5\r");
    EXPECT_EQ(IniDocument(doc.text()).find("nick", "txt"), "k");
}

TEST(IniDocumentTest, OnlyTheFirstOfDuplicateKeysIsReplaced) {
    IniDocument doc("[Option]\nchk_uo=1\nCHK_UO=2\n");
    doc.set("Option", "chk_uo", "0");
    EXPECT_EQ(doc.text(), "[Option]\nchk_uo=0\nCHK_UO=2\n");
    EXPECT_EQ(doc.find("Option", "chk_uo"), "0");
}

TEST(IniDocumentTest, AValueCannotAddLinesOfItsOwn) {
    IniDocument doc;
    doc.set("nick", "txt", std::string("a\r\n[Option]\nchk_uo=1\0b", 23));
    EXPECT_EQ(doc.find("nick", "txt"), std::string("a  [Option] chk_uo=1 b"));
    EXPECT_EQ(doc.find("Option", "chk_uo"), std::nullopt);
}

} // namespace
