#pragma once

#include <QProxyStyle>

class QGroupBox;

// The application's style, with the title of a group box indented as far as the controls
// inside it: some styles (Fusion among them) draw it flush with the box's left edge. A style
// sheet would do the same but takes over the box's font.
class TGroupBoxStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(
        ComplexControl Control, const QStyleOptionComplex* Option, SubControl Part, const QWidget* Widget) const override;

    // Gives the group box a style of this kind, owned by the box; its controls keep theirs.
    static void IndentTitle(QGroupBox& Group);

private:
    int TitleIndent(const QStyleOptionComplex* Option, const QWidget* Widget) const;
};
