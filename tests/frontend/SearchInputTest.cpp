#include "tests/QtPrinters.h"
#include "frontend/SearchInput.h"

#include <gtest/gtest.h>

namespace {

struct FieldCase
{
    const char* Text;
    bool Hex;
    std::optional<quint8> Expected;
};

class FieldValues : public testing::TestWithParam<FieldCase> {};

TEST_P(FieldValues, AreReadAsTheFieldBoxesAre)
{
    EXPECT_EQ(ReadFieldValue(QString::fromLatin1(GetParam().Text), GetParam().Hex), GetParam().Expected)
        << GetParam().Text << (GetParam().Hex ? " (hex)" : "");
}

INSTANTIATE_TEST_SUITE_P(Texts, FieldValues,
    testing::Values(FieldCase{"255", false, 255}, FieldCase{"$FF", false, 255}, FieldCase{"200", false, 200},
        FieldCase{"$C8", false, 200}, FieldCase{"FF", false, std::nullopt}, FieldCase{"256", false, std::nullopt},
        FieldCase{"-1", false, std::nullopt}, FieldCase{"x", false, std::nullopt}, FieldCase{"", false, std::nullopt},
        FieldCase{"ff", true, 255}, FieldCase{"FF", true, 255}, FieldCase{"0A", true, 10},
        FieldCase{"$FF", true, std::nullopt}, FieldCase{"100", true, std::nullopt}, FieldCase{" 1", true, std::nullopt}));

struct WordsCase
{
    const char* Text;
    QStringList Plus;
    QStringList Minus;
};

class TextBox : public testing::TestWithParam<WordsCase> {};

TEST_P(TextBox, SplitsIntoPlusAndMinusEntries)
{
    const TSearchWords words = ReadWords(QString::fromUtf8(GetParam().Text));
    EXPECT_EQ(words.PlusWords, GetParam().Plus) << GetParam().Text;
    EXPECT_EQ(words.MinusWords, GetParam().Minus) << GetParam().Text;
}

QStringList L(std::initializer_list<const char*> entries)
{
    QStringList list;
    for (const char* entry : entries)
        list.append(QString::fromUtf8(entry));
    return list;
}

INSTANTIATE_TEST_SUITE_P(Texts, TextBox,
    testing::Values(WordsCase{"energy -reactive", L({"energy"}), L({"reactive"})},
        WordsCase{"\"active energy\"", L({"\"active energy\""}), {}},
        WordsCase{"-\"active energy\" total", L({"total"}), L({"\"active energy\""})},
        WordsCase{"abc -", L({"abc"}), {}}, WordsCase{"- abc", L({"abc"}), L({""})},
        WordsCase{"  a,b  c ", L({"a,b", "c"}), {}}, WordsCase{"x\"y z", L({"x\"y", "z"}), {}},
        WordsCase{"\"open phrase", L({"\"open phrase"}), {}}, WordsCase{"", {}, {}}, WordsCase{"   ", {}, {}},
        WordsCase{"\"a\"\"b\"", L({"\"a\"", "\"b\""}), {}}));

} // namespace
