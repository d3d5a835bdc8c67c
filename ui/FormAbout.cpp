#include "ui/FormAbout.h"

#include "support/AppPaths.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 284;
constexpr int ClientHeight = 111;
constexpr int TextLeft = 67;
constexpr int TextTop = 26;

QString WordSizeSuffix()
{
    return sizeof(void*) == 8 ? QStringLiteral(" (64 bits)") : QString();
}

} // namespace

TFormAbout::TFormAbout(QWidget* Owner)
    : QDialog(Owner)
    , LBLText(new QLabel(this))
    , Button1(new QPushButton(tr("&Ok"), this))
{
    setObjectName(QStringLiteral("FormAbout"));
    LBLText->setObjectName(QStringLiteral("LBLText"));
    Button1->setObjectName(QStringLiteral("Button1"));
    setWindowTitle(QStringLiteral("About ") + ProgramName());
    LBLText->setText(AboutText());
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Button1);
    buttonRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TextLeft, TextTop, TextTop, TextTop / 2);
    layout->addWidget(LBLText);
    layout->addLayout(buttonRow);
    setFixedSize(layout->sizeHint().expandedTo(QSize(ClientWidth, ClientHeight)));
}

QString TFormAbout::AboutText()
{
    return ProgramName() + u'\n' + QStringLiteral("Version ") + QStringLiteral(KESTRUNE_VERSION)
        + WordSizeSuffix() + u'\n' + QStringLiteral("2024-2025 The Kestrune developers") + u'\n';
}

void TFormAbout::showEvent(QShowEvent* Event)
{
    QDialog::showEvent(Event);
    move(screen()->availableGeometry().center() - rect().center());
}
