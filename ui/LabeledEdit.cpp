#include "ui/LabeledEdit.h"

#include <QLabel>

TLabeledEdit::TLabeledEdit(const QString& Caption, QWidget* Parent)
    : QLineEdit(Parent)
    , FEditLabel(new QLabel(Caption, Parent))
{
    FEditLabel->setBuddy(this);
}
