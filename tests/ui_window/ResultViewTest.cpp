#include "ui/ResultView.h"

#include "tests/QtPrinters.h"
#include "ui/HighLighter.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TEST(ResultView, UsesAFontWhoseGlyphsHaveOneWidth)
{
    const QFont font = TResultView::ResultFont();
    const QFontInfo resolved(font);
    const QFontMetrics metrics(font);
    const int digits = metrics.horizontalAdvance(QStringLiteral("01234567"));
    for (const QString& run : {QStringLiteral("iiiiiiii"), QStringLiteral("WWWWWWWW"), QStringLiteral("        "),
             QStringLiteral("{A=1}|$;")})
        EXPECT_EQ(metrics.horizontalAdvance(run), digits) << resolved.family().toStdString() << " " << run.toStdString();
    EXPECT_FALSE(resolved.family().isEmpty());
    EXPECT_EQ(resolved.pixelSize(), 13);
}

TEST(ResultView, IsAReadOnlyListOfLinesWithoutGutter)
{
    TResultView view;
    EXPECT_TRUE(view.isReadOnly());
    for (int margin = 0; margin < view.margins(); ++margin)
        EXPECT_EQ(view.marginWidth(margin), 0) << margin;

    EXPECT_TRUE(view.Lines().isEmpty());
    view.AppendLine(QString());
    EXPECT_EQ(view.Lines(), QStringList {QString()});
    view.AppendLine(QStringLiteral("Processing file x"));
    view.AppendLines({QStringLiteral("  a"), QStringLiteral("b")});
    view.AppendLines({});
    EXPECT_EQ(view.Lines(),
        QStringList(
            {QString(), QStringLiteral("Processing file x"), QStringLiteral("  a"), QStringLiteral("b")}));
    view.Clear();
    EXPECT_TRUE(view.Lines().isEmpty());
    view.AppendLines({QStringLiteral("c")});
    EXPECT_EQ(view.Lines(), QStringList {QStringLiteral("c")});
    // Text outside ASCII, a character beyond the first plane among it, comes back as it went in.
    const QString heat = QString::fromUtf8("W\u00e4rmez\u00e4hler m\u00b3 \U0001F321");
    view.AppendLines({heat, QStringLiteral("d")});
    EXPECT_EQ(view.Lines(), QStringList({QStringLiteral("c"), heat, QStringLiteral("d")}));
    EXPECT_TRUE(view.isReadOnly());
}

TEST(ResultView, CopiesTheSelection)
{
    TResultView view;
    view.AppendLines({QStringLiteral("17     {A=1}"), QStringLiteral("         Energy")});
    view.setSelection(0, 0, 0, 2);
    view.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("17"));
}

// The style numbers of the highlighter's attributes, as the view stores them per character.
class ResultViewStyles : public testing::Test
{
protected:
    ResultViewStyles() { View.SetHighlighter(&HighLighter); }

    // The style at a byte of the line.
    int StyleAt(unsigned long line, long byte)
    {
        View.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
        const long position = View.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line) + byte;
        return static_cast<int>(
            View.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(position)));
    }

    int Style(const char* attributeName) const
    {
        for (const THighlighterAttribute& attribute : HighLighter.Attributes()) {
            if (attribute.Name == QLatin1String(attributeName))
                return attribute.Style;
        }
        return -1;
    }

    TResultView View;
    THighLighter HighLighter;
};

TEST_F(ResultViewStyles, ColoursEachLineFromTheRangeOfTheLineBefore)
{
    View.AppendLines({QStringLiteral("x (* a"), QString(), QStringLiteral("b *) c"), QStringLiteral("d {")});
    View.AppendLines({QStringLiteral("e"), QStringLiteral("'s'")});
    EXPECT_EQ(StyleAt(0, 0), Style("AttrIdentifier"));
    EXPECT_EQ(StyleAt(0, 2), Style("AttrComment"));
    EXPECT_EQ(StyleAt(2, 0), Style("AttrComment"));
    EXPECT_EQ(StyleAt(2, 5), Style("AttrIdentifier"));
    EXPECT_EQ(StyleAt(4, 0), Style("AttrComment"));
    EXPECT_EQ(StyleAt(5, 1), Style("AttrString"));
}

TEST_F(ResultViewStyles, CountsPositionsInBytesOfTheText)
{
    View.AppendLines({QStringLiteral("\u00E9\u20AC 's' x")});
    // é takes two bytes, € three: the string starts at byte 6.
    EXPECT_EQ(StyleAt(0, 5), Style("AttrSpace"));
    EXPECT_EQ(StyleAt(0, 6), Style("AttrString"));
    EXPECT_EQ(StyleAt(0, 8), Style("AttrString"));
    EXPECT_EQ(StyleAt(0, 10), Style("AttrIdentifier"));
}

TEST_F(ResultViewStyles, PaintsInTheViewsFont)
{
    const QFont identifier = HighLighter.font(Style("AttrIdentifier"));
    EXPECT_TRUE(TResultView::HasOneWidth(identifier));
    EXPECT_EQ(QFontInfo(identifier).family(), QFontInfo(View.ViewFont()).family());
    EXPECT_TRUE(HighLighter.font(Style("AttrComment")).bold());
}

} // namespace
