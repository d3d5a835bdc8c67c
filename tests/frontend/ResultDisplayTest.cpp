#include "obisdata/Model.h"
#include "tests/QtPrinters.h"
#include "frontend/ResultDisplay.h"

#include <gtest/gtest.h>

namespace {

TOBISCode Code(const char* dotted)
{
    return TOBISData::OBISStrToOBISCode(QString::fromLatin1(dotted));
}

TOBISCodeFilter FilterOf(std::initializer_list<TColumn> columns)
{
    TOBISCodeFilter filter;
    for (const TColumn column : columns)
        filter[column] = true;
    return filter;
}

TEST(InsertFieldValues, FillsTheTypedValuesIntoRangesAndSets)
{
    QString patterns = QStringLiteral("{A=1, B=[0-255], C=1, D=8, E=[0-4,7], F=255}");
    InsertFieldValues(patterns, Code("1.3.1.8.7.255"), FilterOf({TColumn::A, TColumn::B, TColumn::E}));
    EXPECT_EQ(patterns, QStringLiteral("{A=1, B=3, C=1, D=8, E=7, F=255}"));

    QString untyped = QStringLiteral("{A=1, B=[0-255], C=1}");
    InsertFieldValues(untyped, Code("1.3.1.8.7.255"), FilterOf({TColumn::A}));
    EXPECT_EQ(untyped, QStringLiteral("{A=1, B=[0-255], C=1}"));

    QString unclosed = QStringLiteral("{A=1, B=[0-2");
    InsertFieldValues(unclosed, Code("1.2.1.8.7.255"), FilterOf({TColumn::B}));
    EXPECT_EQ(unclosed, QStringLiteral("{A=1, B=2"));
}

struct ReferenceCase
{
    const char* Texts;
    const char* Code;
    TOBISCodeFilter Filter;
    const char* Expected;
};

class FieldReferences : public testing::TestWithParam<ReferenceCase> {};

TEST_P(FieldReferences, AreResolvedForTypedFieldsOnly)
{
    QString texts = QString::fromUtf8(GetParam().Texts);
    ResolveFieldReferences(texts, Code(GetParam().Code), GetParam().Filter);
    EXPECT_EQ(texts, QString::fromUtf8(GetParam().Expected));
}

const TOBISCodeFilter All = FilterOf({TColumn::A, TColumn::B, TColumn::C, TColumn::D, TColumn::E, TColumn::F});

INSTANTIATE_TEST_SUITE_P(Texts, FieldReferences,
    testing::Values(ReferenceCase{"Channel $B", "1.7.1.8.0.255", All, "Channel 7"},
        ReferenceCase{"Channel $B", "1.7.1.8.0.255", FilterOf({TColumn::A}), "Channel $B"},
        ReferenceCase{"rate $(E+1)", "1.0.1.8.254.255", All, "rate 255"},
        ReferenceCase{"rate $(E+1)", "1.0.1.8.255.255", All, "rate 256"},
        ReferenceCase{"prev $(E-1)", "1.0.1.8.0.255", All, "prev -1"},
        ReferenceCase{"odd $(E*2)", "1.0.1.8.3.255", All, "odd 1"},
        ReferenceCase{"hex $(E+$10)", "1.0.1.8.1.255", All, "hex 17"},
        ReferenceCase{"open $(E+2", "1.0.1.8.1.255", All, "open 3"},
        ReferenceCase{"$(A) and $(A", "1.0.1.8.1.255", All, "$(A) and $(A"},
        ReferenceCase{"$(x+1) $(G+1) $(", "1.0.1.8.1.255", All, "$(x+1) $(G+1) $("},
        ReferenceCase{"$(B+ 1)", "1.0.1.8.1.255", All, "$(B+ 1)"},
        ReferenceCase{"$1 $b $ $", "1.0.1.8.1.255", All, "$1 $b $ $"},
        ReferenceCase{"$$A$A", "1.0.1.8.1.255", All, "$11"}));

TEST(DisplayBlock, PadsTheHeadAndSplitsTheSections)
{
    const TOBISCodeFilter filter = FilterOf({TColumn::E});
    EXPECT_EQ(DisplayBlock(QStringLiteral("17|{A=1, B=0, C=1, D=8, E=[0-4], F=255}|Active energy; Rate $E|IC=3 Types=6 "),
                  Code("0.0.0.0.2.0"), filter),
        QStringList({QStringLiteral("17     {A=1, B=0, C=1, D=8, E=2, F=255}"), QStringLiteral("         Active energy; Rate 2"),
            QStringLiteral("         IC=3 Types=6 ")}));
    EXPECT_EQ(DisplayBlock(QStringLiteral("&*1234|{A=1}|"), {}, {}),
        QStringList({QStringLiteral("&*1234 {A=1}"), QStringLiteral("         ")}));
    EXPECT_EQ(DisplayBlock(QStringLiteral("&*12345|{A=1}|x|y|z"), {}, {}),
        QStringList({QStringLiteral("&*12345 {A=1}"), QStringLiteral("         x"), QStringLiteral("         y|z")}));
}

TEST(ItemCountText, IsSingularForOneOnly)
{
    EXPECT_EQ(ItemCountText(1), QStringLiteral("1 item"));
    EXPECT_EQ(ItemCountText(0), QStringLiteral("0 items"));
    EXPECT_EQ(ItemCountText(12257), QStringLiteral("12257 items"));
}

} // namespace
