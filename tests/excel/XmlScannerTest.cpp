#include "excel/Limits.h"
#include "excel/XmlScanner.h"
#include "support/Exception.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(std::string_view xml, TByteRange range)
{
    return std::string(xml.substr(static_cast<size_t>(range.Begin), static_cast<size_t>(range.End - range.Begin)));
}

std::string ScanError(std::string_view xml, std::string_view root = "root", std::string_view container = {})
{
    try {
        ScanXmlPieces(xml, root, container);
    } catch (const Exception& e) {
        return e.Message().toStdString();
    }
    return "(scanned)";
}

TEST(ExcelXmlScannerTest, FindsPrologueAndContainerContent)
{
    const std::string xml = R"(<?xml version="1.0"?><x:worksheet xmlns:x="ns"><x:dimension ref="A1"/>)"
                            R"(<x:sheetData><x:row r="1"/></x:sheetData><tail><deep/></tail></x:worksheet>)";
    const TXmlPieces pieces = ScanXmlPieces(xml, "worksheet", "sheetData");
    EXPECT_EQ(Text(xml, pieces.Prologue), R"(<x:dimension ref="A1"/>)");
    ASSERT_EQ(pieces.Content.size(), 1u);
    EXPECT_EQ(Text(xml, pieces.Content[0]), R"(<x:row r="1"/>)");
    EXPECT_EQ(pieces.Children, 1);
}

TEST(ExcelXmlScannerTest, WithoutTheContainerThePrologueIsTheWholeRoot)
{
    const std::string xml = R"(<worksheet><dimension ref="A1"/></worksheet>)";
    const TXmlPieces pieces = ScanXmlPieces(xml, "worksheet", "sheetData");
    EXPECT_EQ(Text(xml, pieces.Prologue), R"(<dimension ref="A1"/>)");
    EXPECT_TRUE(pieces.Content.empty());
}

TEST(ExcelXmlScannerTest, MarkupInsideCommentsCdataAndAttributesIsNoMarkup)
{
    const std::string content = R"(<!-- <fake> --><c a="x>y" b='</c>'><![CDATA[</c></root>]]></c><?pi <x/>?><d/>)";
    const std::string xml = "<root>" + content + "</root>";
    const TXmlPieces pieces = ScanXmlPieces(xml, "root", {});
    ASSERT_EQ(pieces.Content.size(), 1u);
    EXPECT_EQ(Text(xml, pieces.Content[0]), content);
    EXPECT_EQ(pieces.Children, 2);
}

TEST(ExcelXmlScannerTest, CutsLargeContentBetweenChildrenOnly)
{
    std::string content;
    for (int i = 0; i < 40'000; ++i)
        content += R"(<row r=")" + std::to_string(i + 1) + R"("><c><v>1</v></c></row>)";
    const std::string xml = "<sst>" + content + "</sst>";
    const TXmlPieces pieces = ScanXmlPieces(xml, "sst", {});
    ASSERT_GT(pieces.Content.size(), 1u);
    std::string joined;
    for (const TByteRange& piece : pieces.Content) {
        EXPECT_EQ(Text(xml, piece).substr(0, 4), "<row");
        EXPECT_EQ(Text(xml, piece).substr(static_cast<size_t>(piece.End - piece.Begin) - 6), "</row>");
        joined += Text(xml, piece);
    }
    EXPECT_EQ(joined, content);
    EXPECT_EQ(pieces.Children, 40'000);
    EXPECT_EQ(pieces.Grandchildren, 40'000);
}

TEST(ExcelXmlScannerTest, RefusesAChildTooLargeForOneParse)
{
    const std::string xml = "<sst><si>" + [] {
        std::string items;
        for (qint64 i = 0; i < ExcelLimits::MaxXmlNodesPerParse / 2 + 1; ++i)
            items += "<t/>";
        return items;
    }() + "</si></sst>";
    EXPECT_EQ(ScanError(xml, "sst"), "an element holds more than 4000000 XML nodes");
}

struct TBadXml
{
    const char* Xml;
    const char* Problem;
};

class ExcelXmlScannerErrorTest : public testing::TestWithParam<TBadXml> {};

TEST_P(ExcelXmlScannerErrorTest, Refuses)
{
    EXPECT_EQ(ScanError(GetParam().Xml), GetParam().Problem);
}

INSTANTIATE_TEST_SUITE_P(Documents, ExcelXmlScannerErrorTest,
    testing::Values(TBadXml{R"(<!DOCTYPE root SYSTEM "http://example.com/x.dtd"><root/>)", "a DOCTYPE declaration is not allowed"},
        TBadXml{R"(<root><!ENTITY a "b"></root>)", "a DOCTYPE declaration is not allowed"},
        TBadXml{"<other/>", "the root element is <other>, not <root>"}, TBadXml{"<root/><root/>", "there is more than one root element"},
        TBadXml{"", "there is no root element"}, TBadXml{"<root><a></root>", "the XML ends before all its elements are closed"},
        TBadXml{"<root></a></root>", "an end tag without a start tag at byte 10"},
        TBadXml{"<root><!-- open", "the XML ends inside a comment"}, TBadXml{R"(<root a=">)", "the XML ends inside a tag"},
        TBadXml{"<root>< /root>", "a tag without a name at byte 6"}));

TEST(ExcelXmlScannerTest, RefusesDeepNesting)
{
    std::string xml = "<root>";
    for (int i = 1; i < ExcelLimits::MaxXmlDepth; ++i)
        xml += "<a>";
    std::string closing;
    for (int i = 1; i < ExcelLimits::MaxXmlDepth; ++i)
        closing += "</a>";
    EXPECT_EQ(ScanError(xml + closing + "</root>"), "(scanned)");
    EXPECT_EQ(ScanError(xml + "<a></a>" + closing + "</root>"), "the elements nest deeper than 128 levels");
}

} // namespace
