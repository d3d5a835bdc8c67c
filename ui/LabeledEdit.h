#pragma once

#include <QLineEdit>

class QLabel;

// An edit box with its caption in a label above it. A kind of its own: the window profile
// stores plain edit boxes, never labelled ones.
class TLabeledEdit : public QLineEdit
{
    Q_OBJECT

public:
    // The label is created beside the edit box, in the same parent, with the box as its buddy.
    TLabeledEdit(const QString& Caption, QWidget* Parent);

    QLabel* EditLabel() const { return FEditLabel; }

private:
    QLabel* FEditLabel;
};
