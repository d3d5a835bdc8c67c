#include "ui/FormMain.h"

#include "support/AppPaths.h"
#include "ui/GroupBoxStyle.h"
#include "ui/HighLighter.h"
#include "ui/LabeledEdit.h"
#include "ui/ResultView.h"
#include "ui/WaitCursor.h"
#include "frontend/WorkbookLoad.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int DefaultClientWidth = 814;
constexpr int DefaultClientHeight = 445;
constexpr int CommandButtonWidth = 75;
constexpr int PasteButtonWidth = 105;
constexpr int BrowseButtonWidth = 28;
constexpr int StatusPanelWidth = 100;

void SetBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

// Wide enough for the longest text a field box can get, FFFFFFFF (-1 in hexadecimal), with
// the box's frame and text margins; at least the 30 pixels of the original layout.
int FieldWidth(const QLineEdit* field)
{
    constexpr int textMargins = 2 * 2 + 2; // QLineEdit's own margins and the cursor
    const int frame = 2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field);
    return std::max(30, field->fontMetrics().horizontalAdvance(QStringLiteral("FFFFFFFF")) + frame + textMargins);
}

// Tahoma 8 pt where it is installed, else the platform's nearest sans-serif family at 8 pt.
QFont ControlFont()
{
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QPushButton* CommandButton(const QString& caption, const char* name, int width, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumWidth(width);
    return button;
}

} // namespace

TFormMain::TFormMain(TOBISData& Database, QWidget* Parent)
    : TFormBase(Parent)
    , FDatabase(Database)
{
    setObjectName(QStringLiteral("FormMain"));
    setFont(ControlFont());
    setWindowTitle(ProgramName() + QStringLiteral(" ") + QStringLiteral(KESTRUNE_VERSION));
    CreateMenus();

    // Created in this order (the profile walks the controls in creation order: "CHKHex" before
    // "EDITObjDefFile"), laid out from top to bottom as path, filter, results.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);
    CreateFilterGroup(client);
    CreateResultView(client);
    CreatePathGroup(client);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(GroupBox1);
    layout->addWidget(GRPFilter);
    layout->addWidget(Editor, 1);

    SBMain = statusBar();
    SBMain->setObjectName(QStringLiteral("SBMain"));
    SBMainPanel = new QLabel(SBMain);
    SBMainPanel->setMinimumWidth(StatusPanelWidth);
    SBMain->addWidget(SBMainPanel);

    SetTabOrder();
    ConnectHandlers();
    resize(DefaultClientWidth, DefaultClientHeight);
    qApp->installEventFilter(this);
}

void TFormMain::CreateMenus()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MMWords = MainMenu1->addAction(tr("Words"));
    MMHelp = MainMenu1->addMenu(tr("Help"));
    MMHelpHelp = MMHelp->addAction(tr("Help"));
    MMHelpHomePage = MMHelp->addAction(tr("Kestrune home page"));
    MMHelpAbout = MMHelp->addAction(tr("About..."));

    PopupMenu1 = new QMenu(this);
    PMCopy = PopupMenu1->addAction(tr("Copy"));
}

void TFormMain::CreateFilterGroup(QWidget* Parent)
{
    GRPFilter = new QGroupBox(tr("Filter"), Parent);
    GRPFilter->setObjectName(QStringLiteral("GRPFilter"));
    TGroupBoxStyle::IndentTitle(*GRPFilter);
    LEDITText = new TLabeledEdit(tr("Text:"), GRPFilter);
    LEDITText->setObjectName(QStringLiteral("LEDITText"));
    auto* grid = new QGridLayout(GRPFilter);
    TLabeledEdit** fields[] = {&LEDITA, &LEDITB, &LEDITC, &LEDITD, &LEDITE, &LEDITF};
    for (const TColumn column : AllColumns) {
        const int index = static_cast<int>(column);
        auto* field = new TLabeledEdit(QString(ColumnLetter(column)), GRPFilter);
        field->setObjectName(QStringLiteral("LEDIT") + ColumnLetter(column));
        field->setFixedWidth(FieldWidth(field));
        SetBold(field->EditLabel());
        grid->addWidget(field->EditLabel(), 0, index);
        grid->addWidget(field, 1, index);
        *fields[index] = field;
    }
    BTNSearch = CommandButton(tr("Search"), "BTNSearch", CommandButtonWidth, GRPFilter);
    CHKHex = new QCheckBox(tr("Hex"), GRPFilter);
    CHKHex->setObjectName(QStringLiteral("CHKHex"));
    BTNWipe = CommandButton(tr("Wipe"), "BTNWipe", CommandButtonWidth, GRPFilter);
    BTNPasteHex = CommandButton(tr("Paste hex octetstr."), "BTNPasteHex", PasteButtonWidth, GRPFilter);

    grid->addWidget(CHKHex, 1, 6);
    grid->addWidget(BTNPasteHex, 1, 7);
    grid->addWidget(BTNWipe, 1, 8);
    grid->addWidget(BTNSearch, 1, 9);
    grid->addWidget(LEDITText->EditLabel(), 2, 0, 1, 10);
    grid->addWidget(LEDITText, 3, 0, 1, 10);
    grid->setColumnMinimumWidth(6, CHKHex->sizeHint().width() + 12);
    grid->setColumnStretch(10, 1);
}

void TFormMain::CreateResultView(QWidget* Parent)
{
    Editor = new TResultView(Parent);
    Editor->setObjectName(QStringLiteral("Editor"));
    Editor->SetContextMenu(PopupMenu1);
    HighLighter = new THighLighter(Editor);
    Editor->SetHighlighter(HighLighter);
}

void TFormMain::CreatePathGroup(QWidget* Parent)
{
    GroupBox1 = new QGroupBox(tr("COSEM Objects definition file:"), Parent);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    TGroupBoxStyle::IndentTitle(*GroupBox1);
    EDITObjDefFile = new QLineEdit(GroupBox1);
    EDITObjDefFile->setObjectName(QStringLiteral("EDITObjDefFile"));
    BTNBrowseObjDefFile
        = CommandButton(QStringLiteral("..."), "BTNBrowseObjDefFile", BrowseButtonWidth, GroupBox1);
    BTNBrowseObjDefFile->setMaximumWidth(BrowseButtonWidth);
    auto* row = new QHBoxLayout(GroupBox1);
    row->addWidget(EDITObjDefFile, 1);
    row->addWidget(BTNBrowseObjDefFile);
}

// The Filter group first (the six fields, the text box, Search, Hex, Wipe, Paste), then the
// result view, then the path box and its button.
void TFormMain::SetTabOrder()
{
    QWidget* const order[] = {LEDITA, LEDITB, LEDITC, LEDITD, LEDITE, LEDITF, LEDITText, BTNSearch, CHKHex,
        BTNWipe, BTNPasteHex, Editor, EDITObjDefFile, BTNBrowseObjDefFile};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TFormMain::ConnectHandlers()
{
    Bind(BTNSearch, &QPushButton::clicked, &TFormMain::BTNSearchClick);
    Bind(CHKHex, &QCheckBox::toggled, &TFormMain::CHKHexClick);
    Bind(BTNWipe, &QPushButton::clicked, &TFormMain::BTNWipeClick);
    Bind(BTNPasteHex, &QPushButton::clicked, &TFormMain::BTNPasteHexClick);
    Bind(BTNBrowseObjDefFile, &QPushButton::clicked, &TFormMain::BTNBrowseObjDefFileClick);
    Bind(MMWords, &QAction::triggered, &TFormMain::MMWordsClick);
    Bind(MMHelpHelp, &QAction::triggered, &TFormMain::MMHelpHelpClick);
    Bind(MMHelpHomePage, &QAction::triggered, &TFormMain::MMHelpHomePageClick);
    Bind(MMHelpAbout, &QAction::triggered, &TFormMain::MMHelpAboutClick);
    Bind(PMCopy, &QAction::triggered, &TFormMain::PMCopyClick);
}

// Restores the profile, then imports the workbook named in the path box. The field boxes and
// the text box are not stored and stay empty; restoring "Hex" converts nothing.
void TFormMain::FormShow()
{
    DoProfileActions({TProfileAction::paReadControls, TProfileAction::paReadGeometry});
    LoadExcelFile(EDITObjDefFile->text());
}

void TFormMain::FormClose()
{
    DoProfileActions({TProfileAction::paWriteControls, TProfileAction::paWriteGeometry});
}

// Enter in a control of the Filter group runs the search, and the control never sees the key.
// Elsewhere (the result view, the path box) Enter passes on.
bool TFormMain::FormKeyDown(QObject* Receiver, int Key)
{
    if (Key != Qt::Key_Return && Key != Qt::Key_Enter)
        return false;
    const auto* control = qobject_cast<QWidget*>(Receiver);
    if (!control || control->parentWidget() != GRPFilter)
        return false;
    BTNSearch->click();
    return true;
}

bool TFormMain::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::KeyPress && FormKeyDown(Watched, static_cast<QKeyEvent*>(Event)->key()))
        return true;
    return TFormBase::eventFilter(Watched, Event);
}

void TFormMain::showEvent(QShowEvent* Event)
{
    if (!Event->spontaneous())
        RunHandler(this, [this] { FormShow(); });
    TFormBase::showEvent(Event);
}

// The window closes even when its profile cannot be written: the message is shown, and the
// user is not kept from leaving the program.
void TFormMain::closeEvent(QCloseEvent* Event)
{
    RunHandler(this, [this] { FormClose(); });
    TFormBase::closeEvent(Event);
}

void TFormMain::AddLogLine(const QString& Line)
{
    Editor->AppendLine(Line);
    Editor->RepaintNow();
}

// The item count of an earlier search or word list no longer holds once an import starts.
// The wait cursor shows while the import runs.
void TFormMain::LoadExcelFile(const QString& FileName)
{
    SBMainPanel->clear();
    const TWaitCursor waitCursor;
    ::LoadExcelFile(
        FDatabase, FileName, [this](const QString& line) { AddLogLine(line); }, [this] { Editor->Clear(); });
}
