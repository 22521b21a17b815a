#include <gtest/gtest.h>

#include "disc/DiscNames.h"

namespace {

struct NamesCase {
    std::vector<std::string> stems;
    std::vector<std::string> names;
};

TEST(DiscNames, LegalRecognisableAndUnique) {
    const std::vector<NamesCase> cases{
        {{"chelsea"}, {"CHELSEA"}},
        {{"Coffee", "coffee", "COFFEE"}, {"COFFEE", "COFFEE1", "COFFEE2"}},
        {{"chelsea", "chelsea"}, {"CHELSEA", "CHELSE1"}},
        {{"my holiday.2024"}, {"MYHOLID"}},
        {{"a#b*c:d.e\"f g!h$"}, {"ABCDEFG"}},
        {{"caf\xC3\xA9"}, {"CAF"}},
        {{"!BOOT"}, {"BOOT"}},
        {{"", "---"}, {"PICTURE", "PICTUR1"}},
        {{"x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"},
         {"X", "X1", "X2", "X3", "X4", "X5", "X6", "X7", "X8", "X9", "X10"}},
        {{"abcdefg", "abcdefg", "abcdef1"}, {"ABCDEFG", "ABCDEF1", "ABCDEF2"}},
    };
    for (const NamesCase& test : cases) {
        SCOPED_TRACE(test.stems.front());
        EXPECT_EQ(DfsNamesFor(test.stems), test.names);
    }
}

TEST(DiscNames, TitleKeepsPrintableCharactersUpToTwelve) {
    EXPECT_EQ(DfsTitleFor("Holiday 2024 in Wales"), "Holiday 2024");
    EXPECT_EQ(DfsTitleFor("say \"cheese\"\t\xC3\xA9"), "say cheese");
}

}  // namespace
