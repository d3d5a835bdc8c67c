#include "ui/GroupBoxStyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QLayout>
#include <QStyleFactory>
#include <QStyleOptionComplex>

#include <algorithm>

// The title (with its check box, when the box has one) moves right until it starts where the
// controls of the box's layout start.
QRect TGroupBoxStyle::subControlRect(
    ComplexControl Control, const QStyleOptionComplex* Option, SubControl Part, const QWidget* Widget) const
{
    QRect rect = QProxyStyle::subControlRect(Control, Option, Part, Widget);
    if (Control == CC_GroupBox && (Part == SC_GroupBoxLabel || Part == SC_GroupBoxCheckBox))
        rect.translate(TitleIndent(Option, Widget), 0);
    return rect;
}

int TGroupBoxStyle::TitleIndent(const QStyleOptionComplex* Option, const QWidget* Widget) const
{
    const QRect contents = QProxyStyle::subControlRect(CC_GroupBox, Option, SC_GroupBoxContents, Widget);
    const QLayout* layout = Widget ? Widget->layout() : nullptr;
    const int margin = layout ? layout->contentsMargins().left() : pixelMetric(PM_LayoutLeftMargin, Option, Widget);
    const SubControl first = Option->subControls & SC_GroupBoxCheckBox ? SC_GroupBoxCheckBox : SC_GroupBoxLabel;
    const int titleLeft = QProxyStyle::subControlRect(CC_GroupBox, Option, first, Widget).left();
    return std::max(0, contents.left() + margin - titleLeft);
}

void TGroupBoxStyle::IndentTitle(QGroupBox& Group)
{
    auto* style = new TGroupBoxStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(&Group);
    Group.setStyle(style);
}
