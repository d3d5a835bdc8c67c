#include "ui/FormMain.h"

#include "WindowTest.h"
#include "support/HelpViewer.h"
#include "tests/XlsxFile.h"
#include "tests/obisdata/TestDatabase.h"
#include "ui/FormAbout.h"
#include "ui/LabeledEdit.h"
#include "ui/ResultView.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QUrl>
#include <QWindow>

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace {

const QString Hint = QStringLiteral("Click the 'Search' button to display all the available OBIS codes");

// Media 0 and 1 with four definitions, and the main window on them.
class FormMainTest : public WindowTest
{
protected:
    FormMainTest()
    {
        AddLines(Database, 1,
            {",1,0,1,8,0-4,255,,Active energy,Total,,,3,,6", ",1,0,2,8,0,255,,Reactive energy,,,,3,,",
                ",1,0-64,32,7,0,255,,Voltage L1 of channel $B,,,,,,"},
            10);
        AddLines(Database, 0, {",0,0,96,1,0,255,,Meter serial number,,,,1,,9"}, 20);
    }

    TFormMain& Open(TOBISData& database)
    {
        Form = std::make_unique<TFormMain>(database);
        Form->show();
        return *Form;
    }
    TFormMain& Open() { return Open(Database); }

    // Opens the window and waits until it can paint.
    void OpenExposed()
    {
        Open();
        for (int round = 0; round < 100 && !Form->windowHandle()->isExposed(); ++round)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_TRUE(Form->windowHandle()->isExposed());
    }

    QStringList Fields() const
    {
        QStringList texts;
        for (const QLineEdit* field :
            {Form->LEDITA, Form->LEDITB, Form->LEDITC, Form->LEDITD, Form->LEDITE, Form->LEDITF})
            texts.append(field->text());
        return texts;
    }

    void SetFields(const QStringList& texts)
    {
        QLineEdit* fields[]
            = {Form->LEDITA, Form->LEDITB, Form->LEDITC, Form->LEDITD, Form->LEDITE, Form->LEDITF};
        for (qsizetype i = 0; i < 6; ++i)
            fields[i]->setText(texts.value(i));
    }

    QString Status() const { return Form->SBMainPanel->text(); }
    QStringList ViewLines() const { return Form->Editor->Lines(); }

    static void PressKey(QWidget* receiver, Qt::Key key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
            key == Qt::Key_A ? QStringLiteral("a") : QStringLiteral("\r"));
        QApplication::sendEvent(receiver, &press);
    }

    void StoreSettings(const QByteArray& content) const
    {
        QFile file(SettingsFileName());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString WriteWorkbook() const
    {
        const QString fileName = ConfigHome.filePath(QStringLiteral("objects.xlsx"));
        WriteXlsx(fileName,
            {{QStringLiteral("Title"), {Cells("Kestrune test objects")}},
                {QStringLiteral("Electricity (AC)"),
                    {Cells("com,A,B,C,D,E,F,tB,tC,tD,tE,tF,IC,AltIC,Types"),
                        Cells(",1,0,1,8,0,255,,Active energy,,,,3,,6")}}});
        return fileName;
    }

    QString WriteBrokenWorkbook() const
    {
        const QString fileName = ConfigHome.filePath(QStringLiteral("broken.xlsx"));
        QFile file(fileName);
        file.open(QIODevice::WriteOnly);
        file.write("not a workbook");
        return fileName;
    }

    static QStringList ImportLog(const QString& fileName)
    {
        return {QStringLiteral("Processing file ") + fileName, QStringLiteral("  Electricity (AC) done."),
            QString(), Hint};
    }

    static QStringList StarLines(const QString& fileName)
    {
        return {QStringLiteral("Processing file ") + fileName,
            QStringLiteral("*** Microsoft Excel could not be found on this system, or"),
            QStringLiteral("*** A document named %1 is already open, please close it before running Kestrune")
                .arg(fileName),
            QStringLiteral("*** Cannot read workbook \"%1\": the file is neither an .xlsx nor an .xls workbook").arg(fileName)};
    }

    TOBISData Database;
    std::unique_ptr<TFormMain> Form;
};

TEST_F(FormMainTest, AFirstStartShowsAnEmptyWindow)
{
    TOBISData empty;
    Open(empty);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Kestrune 5.0"));
    EXPECT_EQ(Fields(), QStringList(6, QString()));
    EXPECT_TRUE(Form->LEDITText->text().isEmpty());
    EXPECT_TRUE(Form->EDITObjDefFile->text().isEmpty());
    EXPECT_FALSE(Form->CHKHex->isChecked());
    EXPECT_TRUE(ViewLines().isEmpty());
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_FALSE(QFile::exists(SettingsFileName()));

    Form->BTNSearch->click();
    EXPECT_EQ(Status(), QStringLiteral("0 items"));
    EXPECT_TRUE(ViewLines().isEmpty());
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(FormMainTest, TheProfileKeepsThePathAndHexButNotTheFieldsOrWords)
{
    StoreSettings("[FormMain]\nFromAnEarlierRun=x\n");
    const QString workbook = WriteWorkbook();
    Open();
    Form->EDITObjDefFile->setText(workbook);
    Form->CHKHex->setChecked(true);
    SetFields({QStringLiteral("1"), QStringLiteral("0")});
    Form->LEDITText->setText(QStringLiteral("energy"));
    Form->close();

    QFile settings(SettingsFileName());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    QStringList keys;
    for (const QString& line : QString::fromUtf8(settings.readAll()).split(u'\n', Qt::SkipEmptyParts))
        keys.append(line.section(u'=', 0, 0));
    EXPECT_EQ(keys,
        QStringList({QStringLiteral("[FormMain]"), QStringLiteral("FromAnEarlierRun"),
            QStringLiteral("WindowState"), QStringLiteral("Top"), QStringLiteral("Left"),
            QStringLiteral("Width"), QStringLiteral("Height"), QStringLiteral("StayOnTop"),
            QStringLiteral("CHKHex"), QStringLiteral("EDITObjDefFile")}));
    EXPECT_EQ(SettingsFile().ReadString(QStringLiteral("FormMain"), QStringLiteral("StayOnTop"), QString()),
        QStringLiteral("0"));

    Open();
    EXPECT_EQ(Form->EDITObjDefFile->text(), workbook);
    EXPECT_TRUE(Form->CHKHex->isChecked());
    EXPECT_EQ(Fields(), QStringList(6, QString()));
    EXPECT_TRUE(Form->LEDITText->text().isEmpty());
    EXPECT_EQ(ViewLines(), ImportLog(workbook));
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(FormMainTest, AStoredWorkbookThatIsMissingIsReportedAtStartUp)
{
    const QString missing = ConfigHome.filePath(QStringLiteral("gone.xlsx"));
    StoreSettings("[FormMain]\nEDITObjDefFile=" + missing.toUtf8() + "\n");
    Open();
    EXPECT_EQ(Messages, QStringList {QStringLiteral("File \"%1\" not found").arg(missing)});
    EXPECT_TRUE(ViewLines().isEmpty());
    EXPECT_TRUE(Form->isVisible());
}

TEST_F(FormMainTest, AStoredWorkbookThatCannotBeReadLeavesTheStarLines)
{
    const QString broken = WriteBrokenWorkbook();
    StoreSettings("[FormMain]\nEDITObjDefFile=" + broken.toUtf8() + "\n");
    Open();
    EXPECT_EQ(ViewLines(), StarLines(broken));
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(FormMainTest, SearchListsTheBlocksWithTypedValuesAndTheCount)
{
    Open();
    Form->BTNSearch->click();
    EXPECT_EQ(Status(), QStringLiteral("4 items"));
    EXPECT_EQ(ViewLines().mid(0, 5),
        QStringList({QStringLiteral("20     {A=0, B=0, C=96, D=1, E=0, F=255}"),
            QStringLiteral("         Meter serial number"), QStringLiteral("         IC=1 Types=9 "),
            QStringLiteral("10     {A=1, B=0, C=1, D=8, E=[0-4], F=255}"),
            QStringLiteral("         Active energy; Total")}));

    SetFields({QString(), QStringLiteral("3"), QStringLiteral("32")});
    Form->BTNSearch->click();
    EXPECT_EQ(Status(), QStringLiteral("1 item"));
    EXPECT_EQ(ViewLines(),
        QStringList({QStringLiteral("12     {A=1, B=3, C=32, D=7, E=0, F=255}"),
            QStringLiteral("         Voltage L1 of channel 3")}));

    SetFields({QStringLiteral("1")});
    Form->LEDITText->setText(QStringLiteral("\"energy\" -reactive"));
    Form->BTNSearch->click();
    EXPECT_EQ(Status(), QStringLiteral("1 item"));
    EXPECT_EQ(Form->PlusWords, QStringList {QStringLiteral("\"energy\"")});
    EXPECT_EQ(Form->MinusWords, QStringList {QStringLiteral("reactive")});
}

struct EnterCase
{
    std::string Name;
    const char* Receiver;
    Qt::Key Key;
    bool Searches;
};

class FormMainEnterTest : public FormMainTest, public testing::WithParamInterface<EnterCase>
{
};

// With A = 1 typed and a code on the clipboard, Enter runs the search and nothing else: Wipe
// and Paste do not run their own commands, and the box with the focus gets no character.
TEST_P(FormMainEnterTest, RunsTheSearchInTheFilterGroupOnly)
{
    const EnterCase& c = GetParam();
    Open();
    SetFields({QStringLiteral("1")});
    QGuiApplication::clipboard()->setText(QStringLiteral("0700000000FF"));
    auto* receiver = Form->findChild<QWidget*>(QString::fromLatin1(c.Receiver));
    ASSERT_NE(receiver, nullptr);
    const QStringList fieldsBefore = Fields();
    const QString textBefore = Form->LEDITText->text();

    PressKey(receiver, c.Key);
    EXPECT_EQ(Status(), c.Searches ? QStringLiteral("3 items") : QString());
    EXPECT_EQ(Fields(), fieldsBefore);
    EXPECT_EQ(Form->LEDITText->text(), textBefore);
    EXPECT_FALSE(Form->CHKHex->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Cases, FormMainEnterTest,
    testing::Values(EnterCase {"FieldA", "LEDITA", Qt::Key_Return, true},
        EnterCase {"FieldFWithKeypadEnter", "LEDITF", Qt::Key_Enter, true},
        EnterCase {"TextBox", "LEDITText", Qt::Key_Return, true},
        EnterCase {"SearchButton", "BTNSearch", Qt::Key_Return, true},
        EnterCase {"HexBox", "CHKHex", Qt::Key_Return, true},
        EnterCase {"WipeButton", "BTNWipe", Qt::Key_Return, true},
        EnterCase {"PasteButton", "BTNPasteHex", Qt::Key_Return, true},
        EnterCase {"ResultView", "Editor", Qt::Key_Return, false},
        EnterCase {"PathBox", "EDITObjDefFile", Qt::Key_Return, false},
        EnterCase {"BrowseButton", "BTNBrowseObjDefFile", Qt::Key_Return, false}),
    [](const testing::TestParamInfo<EnterCase>& tested) { return tested.param.Name; });

TEST_F(FormMainTest, OtherKeysReachTheFieldBoxes)
{
    Open();
    PressKey(Form->LEDITB, Qt::Key_A);
    EXPECT_EQ(Form->LEDITB->text(), QStringLiteral("a"));
}

struct BadFieldCase
{
    std::string Name;
    QString Text;
    bool Hex;
};

class FormMainBadFieldTest : public FormMainTest, public testing::WithParamInterface<BadFieldCase>
{
};

// The box gets the focus (and a beep), the previous results stay, no message is shown.
TEST_P(FormMainBadFieldTest, EndsTheSearchSilently)
{
    Open();
    SetFields({QStringLiteral("1")});
    Form->BTNSearch->click();
    const QStringList linesBefore = ViewLines();
    ASSERT_EQ(Status(), QStringLiteral("3 items"));

    Form->CHKHex->setChecked(GetParam().Hex);
    SetFields({QStringLiteral("1"), QString(), GetParam().Text});
    Form->BTNSearch->click();
    EXPECT_EQ(Form->focusWidget(), Form->LEDITC);
    EXPECT_EQ(ViewLines(), linesBefore);
    EXPECT_EQ(Status(), QStringLiteral("3 items"));
    EXPECT_TRUE(Messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, FormMainBadFieldTest,
    testing::Values(BadFieldCase {"Above255", QStringLiteral("256"), false},
        BadFieldCase {"Negative", QStringLiteral("-1"), false},
        BadFieldCase {"Letter", QStringLiteral("x"), false},
        BadFieldCase {"HexDigitsWithoutHex", QStringLiteral("FF"), false},
        BadFieldCase {"DollarWithHex", QStringLiteral("$FF"), true},
        BadFieldCase {"Above255InHex", QStringLiteral("100"), true},
        BadFieldCase {"Blank", QStringLiteral(" 1"), false}),
    [](const testing::TestParamInfo<BadFieldCase>& tested) { return tested.param.Name; });

TEST_F(FormMainTest, FieldValuesInEitherNotation)
{
    Open();
    SetFields({QStringLiteral("$1"), QString(), QStringLiteral("32")});
    Form->BTNSearch->click();
    EXPECT_EQ(Status(), QStringLiteral("1 item"));
    Form->CHKHex->setChecked(true);
    SetFields({QStringLiteral("01"), QString(), QStringLiteral("20")});
    Form->BTNSearch->click();
    EXPECT_EQ(Status(), QStringLiteral("1 item"));
    EXPECT_EQ(Form->OBISCode[TColumn::C], 32);
}

TEST_F(FormMainTest, HexRewritesTheFilledBoxesBothWays)
{
    Open();
    SetFields({QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("96"), QString(),
        QStringLiteral("300"), QStringLiteral("-1")});
    Form->CHKHex->setChecked(true);
    EXPECT_EQ(Fields(),
        QStringList({QStringLiteral("01"), QStringLiteral("00"), QStringLiteral("60"), QString(),
            QStringLiteral("12C"), QStringLiteral("FFFFFFFF")}));
    Form->CHKHex->setChecked(false);
    EXPECT_EQ(Fields(),
        QStringList({QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("96"), QString(),
            QStringLiteral("300"), QStringLiteral("-1")}));
    EXPECT_TRUE(Messages.isEmpty());

    Form->CHKHex->setChecked(true);
    Form->BTNSearch->click();
    EXPECT_EQ(Form->focusWidget(), Form->LEDITE);
}

TEST_F(FormMainTest, HexStopsAtABoxThatDoesNotConvert)
{
    Open();
    SetFields({QStringLiteral("1"), QStringLiteral("1A"), QStringLiteral("2")});
    Form->CHKHex->setChecked(true);
    EXPECT_EQ(Messages, QStringList {QStringLiteral("'1A' is not a valid integer value")});
    EXPECT_EQ(
        Fields().mid(0, 3), QStringList({QStringLiteral("01"), QStringLiteral("1A"), QStringLiteral("2")}));
    EXPECT_TRUE(Form->CHKHex->isChecked());

    Messages.clear();
    SetFields({QStringLiteral("G")});
    Form->CHKHex->setChecked(false);
    EXPECT_EQ(Messages, QStringList {QStringLiteral("'$G' is not a valid integer value")});
}

struct PasteCase
{
    std::string Name;
    QString Clipboard;
    QStringList Fields;
};

class FormMainPasteTest : public FormMainTest, public testing::WithParamInterface<PasteCase>
{
};

// The pairs go into the boxes as they are, Hex is checked without converting them, and the
// search runs for 1.0.1.8.0.255.
TEST_P(FormMainPasteTest, FillsTheBoxesAndSearches)
{
    Open();
    QGuiApplication::clipboard()->setText(GetParam().Clipboard);
    Form->BTNPasteHex->click();
    EXPECT_EQ(Fields(), GetParam().Fields);
    EXPECT_TRUE(Form->CHKHex->isChecked());
    EXPECT_EQ(Status(), QStringLiteral("1 item"));
    EXPECT_EQ(ViewLines().value(0), QStringLiteral("10     {A=1, B=0, C=1, D=8, E=0, F=255}"));
    EXPECT_TRUE(Messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, FormMainPasteTest,
    testing::Values(PasteCase {"UpperCase", QStringLiteral("0100010800FF"),
                        {QStringLiteral("01"), QStringLiteral("00"), QStringLiteral("01"),
                            QStringLiteral("08"), QStringLiteral("00"), QStringLiteral("FF")}},
        PasteCase {"LowerCase", QStringLiteral("0100010800ff"),
            {QStringLiteral("01"), QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("08"),
                QStringLiteral("00"), QStringLiteral("ff")}}),
    [](const testing::TestParamInfo<PasteCase>& tested) { return tested.param.Name; });

class FormMainPasteRejectTest : public FormMainTest, public testing::WithParamInterface<PasteCase>
{
};

// Only a beep: the boxes, Hex, the view and the status bar stay as they were.
TEST_P(FormMainPasteRejectTest, ChangesNothing)
{
    Open();
    SetFields({QStringLiteral("5")});
    QGuiApplication::clipboard()->setText(GetParam().Clipboard);
    Form->BTNPasteHex->click();
    EXPECT_EQ(
        Fields(), QStringList({QStringLiteral("5"), QString(), QString(), QString(), QString(), QString()}));
    EXPECT_FALSE(Form->CHKHex->isChecked());
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_TRUE(ViewLines().isEmpty());
    EXPECT_TRUE(Messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, FormMainPasteRejectTest,
    testing::Values(PasteCase {"LineBreakAfter", QStringLiteral("0100010800FF\n"), {}},
        PasteCase {"ElevenDigits", QStringLiteral("0100010800F"), {}}, PasteCase {"NoText", QString(), {}},
        PasteCase {"IllegalDigit", QStringLiteral("0100010800FG"), {}},
        PasteCase {"OddDigitsWithBlank", QStringLiteral("01000108 0FF"), {}},
        PasteCase {"Dotted", QStringLiteral("1.0.1.8.0.25"), {}}),
    [](const testing::TestParamInfo<PasteCase>& tested) { return tested.param.Name; });

TEST_F(FormMainTest, PastedBlanksPassTheCheckAndTheSearchRejectsThem)
{
    Open();
    QGuiApplication::clipboard()->setText(QStringLiteral("0100 0108 00"));
    Form->BTNPasteHex->click();
    EXPECT_EQ(Fields(),
        QStringList({QStringLiteral("01"), QStringLiteral("00"), QStringLiteral(" 0"), QStringLiteral("10"),
            QStringLiteral("8 "), QStringLiteral("00")}));
    EXPECT_TRUE(Form->CHKHex->isChecked());
    EXPECT_EQ(Form->focusWidget(), Form->LEDITC);
    EXPECT_TRUE(Status().isEmpty());
}

TEST_F(FormMainTest, WipeEmptiesTheBoxesAndListsEverything)
{
    Open();
    SetFields({QStringLiteral("1"), QStringLiteral("0")});
    Form->LEDITText->setText(QStringLiteral("energy"));
    Form->BTNSearch->click();
    Form->BTNWipe->click();
    EXPECT_EQ(Fields(), QStringList(6, QString()));
    EXPECT_TRUE(Form->LEDITText->text().isEmpty());
    EXPECT_EQ(Status(), QStringLiteral("4 items"));
}

TEST_F(FormMainTest, WordsListsTheWordListWithoutASingularCount)
{
    Open();
    Form->MMWords->trigger();
    EXPECT_EQ(ViewLines(), Database.AllWords());
    EXPECT_EQ(Status(), QString::number(Database.AllWords().size()) + QStringLiteral(" items"));

    TOBISData oneWord;
    AddLines(oneWord, 1, {",1,0,1,8,0,255,,Energy,,,,,,"});
    Open(oneWord);
    Form->MMWords->trigger();
    EXPECT_EQ(ViewLines(), QStringList {QStringLiteral("Energy")});
    EXPECT_EQ(Status(), QStringLiteral("1 items"));

    TOBISData empty;
    Open(empty);
    Form->AddLogLine(QStringLiteral("old"));
    Form->MMWords->trigger();
    EXPECT_TRUE(ViewLines().isEmpty());
    EXPECT_EQ(Status(), QStringLiteral("0 items"));
}

TEST_F(FormMainTest, CopyTakesTheSelection)
{
    Open();
    Form->BTNSearch->click();
    Form->Editor->selectAll();
    Form->PMCopy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), ViewLines().join(u'\n'));
}

TEST_F(FormMainTest, BrowseCancelledChangesNothing)
{
    Open();
    Form->EDITObjDefFile->setText(QStringLiteral("/data/old.xlsx"));
    Form->AddLogLine(QStringLiteral("before"));
    WhenModalShown([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    Form->BTNBrowseObjDefFile->click();
    EXPECT_EQ(Form->EDITObjDefFile->text(), QStringLiteral("/data/old.xlsx"));
    EXPECT_EQ(ViewLines(), QStringList {QStringLiteral("before")});
    EXPECT_TRUE(Messages.isEmpty());
}

class FormMainBrowseTest : public FormMainTest
{
protected:
    // Browses to the file (opening the window unless it is open); the path box held
    // /data/old.xlsx.
    void BrowseTo(const QString& fileName)
    {
        if (!Form)
            Open();
        Form->EDITObjDefFile->setText(QStringLiteral("/data/old.xlsx"));
        WhenModalShown([fileName](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(fileName);
            static_cast<QDialog*>(dialog)->accept();
        });
        Form->BTNBrowseObjDefFile->click();
    }
};

TEST_F(FormMainBrowseTest, AChosenWorkbookIsImportedAndItsPathKept)
{
    const QString workbook = WriteWorkbook();
    BrowseTo(workbook);
    EXPECT_EQ(Form->EDITObjDefFile->text(), workbook);
    EXPECT_EQ(ViewLines(), ImportLog(workbook));
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(FormMainBrowseTest, AWorkbookThatCannotBeReadKeepsTheOldPath)
{
    const QString broken = WriteBrokenWorkbook();
    BrowseTo(broken);
    EXPECT_EQ(Form->EDITObjDefFile->text(), QStringLiteral("/data/old.xlsx"));
    EXPECT_EQ(ViewLines(), StarLines(broken));
    EXPECT_TRUE(Messages.isEmpty());
}

// The database keeps every definition it had, the view says so after the error, and the
// count of the last search is gone.
TEST_F(FormMainBrowseTest, AWorkbookThatFailsHalfWayLeavesTheDatabaseWhole)
{
    const QString fileName = ConfigHome.filePath(QStringLiteral("half.xlsx"));
    WriteXlsx(fileName,
        {{QStringLiteral("Title"), {Cells("Kestrune test objects")}},
            {QStringLiteral("Electricity (AC)"),
                {Cells("com,A,B,C,D,E,F,tB,tC,tD,tE,tF,IC,AltIC,Types"), Cells(",1,0,VOLT,8,0,255,,,,,,,,")}},
            {QStringLiteral("Gas"),
                {Cells("com,A,B,C,D,E,F,tB,tC,tD,tE,tF,IC,AltIC,Types"), Cells(",7,0,1,0,0,255,,Gas volume,,,,,,")}}});
    Open();
    Form->BTNSearch->click();
    ASSERT_EQ(Status(), QStringLiteral("4 items"));
    BrowseTo(fileName);
    EXPECT_EQ(Form->EDITObjDefFile->text(), QStringLiteral("/data/old.xlsx"));
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(ViewLines().mid(1),
        QStringList({QStringLiteral("  Gas done."), QStringLiteral("*** ") + Messages.constFirst(),
            QStringLiteral("*** The import failed: the definitions are those held before it")}));
    EXPECT_TRUE(Status().isEmpty());
    Form->BTNSearch->click();
    EXPECT_EQ(Status(), QStringLiteral("4 items"));
}

TEST_F(FormMainBrowseTest, AMissingFileIsReportedAndKeepsTheOldPath)
{
    const QString missing = ConfigHome.filePath(QStringLiteral("typed.xlsx"));
    BrowseTo(missing);
    EXPECT_EQ(Form->EDITObjDefFile->text(), QStringLiteral("/data/old.xlsx"));
    EXPECT_EQ(Messages, QStringList {QStringLiteral("File \"%1\" not found").arg(missing)});
}

// Receives the addresses that the desktop would open.
class TUrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl& url) { Opened.append(url); }
};

// The installed home page of an executable in bin/ is share/kestrune/help/home.html.
TEST_F(FormMainTest, HomePageOpensTheLocalHomePage)
{
    Paths.reset();
    Paths.emplace(ConfigHome.filePath(QStringLiteral("bin/Kestrune")));
    Open();
    Form->MMHelpHomePage->trigger();
    EXPECT_EQ(Messages,
        QStringList({QStringLiteral("The home page %1 is missing").arg(ConfigHome.filePath(QStringLiteral("bin/help/home.html")))}));

    const QString homePage = ConfigHome.filePath(QStringLiteral("share/kestrune/help/home.html"));
    QDir().mkpath(QFileInfo(homePage).path());
    QFile(homePage).open(QIODevice::WriteOnly);
    QFile(QFileInfo(homePage).path() + QStringLiteral("/index.html")).open(QIODevice::WriteOnly);
    Paths.reset();
    Paths.emplace(ConfigHome.filePath(QStringLiteral("bin/Kestrune")));
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Form->MMHelpHomePage->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(catcher.Opened, QList<QUrl> {QUrl::fromLocalFile(homePage)});
}

TEST_F(FormMainTest, AboutShowsTheAboutBoxModallyAndReleasesIt)
{
    Open();
    QString title;
    WhenModalShown([&title](QWidget* modal) {
        ASSERT_NE(qobject_cast<TFormAbout*>(modal), nullptr);
        title = modal->windowTitle();
        qobject_cast<QDialog*>(modal)->reject();
    });
    Form->MMHelpAbout->trigger();
    EXPECT_EQ(title, QStringLiteral("About Kestrune"));
    EXPECT_EQ(Form->findChild<TFormAbout*>(), nullptr);
}

TEST_F(FormMainTest, HelpWithoutAViewerDoesNothing)
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", ConfigHome.path().toUtf8());
    const THelpViewer viewer(HelpPagesFolder(), [](const QString&) { return true; });
    qputenv("PATH", path);
    Open();
    Form->AddLogLine(QStringLiteral("before"));
    Form->MMHelpHelp->trigger();
    EXPECT_EQ(ViewLines(), QStringList {QStringLiteral("before")});
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(FormMainTest, TheWindowClosesEvenWhenItsProfileCannotBeWritten)
{
    Open();
    ASSERT_TRUE(QDir(SettingsFolder()).removeRecursively());
    QFile blocker(SettingsFolder().chopped(1));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    EXPECT_TRUE(Form->close());
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Messages, QStringList {QStringLiteral("Unable to write to ") + SettingsFileName()});
}

// Counts the paint events of a widget.
class TPaintCounter : public QObject
{
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

TEST_F(FormMainTest, ALogLineIsPaintedBeforeTheCallerGoesOn)
{
    OpenExposed();
    TPaintCounter counter;
    Form->Editor->viewport()->installEventFilter(&counter);
    Form->AddLogLine(QStringLiteral("  Gas done."));
    EXPECT_GE(counter.Paints, 1);
    EXPECT_EQ(ViewLines(), QStringList {QStringLiteral("  Gas done.")});
}

// The layout at the first start, also run with the fonts at 150% and 200% (QT_FONT_DPI, see
// CMakeLists.txt): no caption is cut, the result view shows 15 lines, a field box holds
// FFFFFFFF, the controls use an 8-point font.
TEST_F(FormMainTest, LayoutLeavesRoomForEveryCaptionAndFifteenLines)
{
    Open();
    QCoreApplication::processEvents();
    EXPECT_GE(Form->Editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN), 15);
    for (const QPushButton* button : Form->findChildren<QPushButton*>()) {
        const QString caption = QString(button->text()).remove(u'&');
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(caption) + 6) << caption.toStdString();
    }
    EXPECT_GE(Form->CHKHex->width(), Form->CHKHex->sizeHint().width());
    for (const QLabel* label : Form->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty()) {
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->text().toStdString();
        }
    }
    for (const QGroupBox* group : Form->findChildren<QGroupBox*>())
        EXPECT_GT(group->width(), group->fontMetrics().horizontalAdvance(group->title())) << group->title().toStdString();
    // A group's title starts where its first control starts, in the controls' font.
    const std::pair<const QGroupBox*, const QWidget*> titledGroups[]
        = {{Form->GroupBox1, Form->EDITObjDefFile}, {Form->GRPFilter, Form->LEDITA}};
    for (const auto& [group, firstControl] : titledGroups) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.textAlignment = group->alignment();
        const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        EXPECT_EQ(title.left(), firstControl->x()) << group->title().toStdString();
        EXPECT_LE(title.right(), group->width());
        EXPECT_EQ(QFontInfo(group->font()).pointSize(), 8);
    }
    for (QLineEdit* field : {Form->LEDITA, Form->LEDITF}) {
        field->setText(QStringLiteral("FFFFFFFF"));
        EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), field->contentsRect().width() - 4);
    }
    EXPECT_EQ(QFontInfo(Form->BTNSearch->font()).pointSize(), 8);
}

// Records the override cursor each time the widget paints.
class TCursorAtPaint : public QObject
{
public:
    QList<int> Shapes; // -1: no override cursor

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            Shapes.append(cursor ? cursor->shape() : -1);
        }
        return false;
    }
};

// Both a search and an import paint their result under the wait cursor and give it back.
TEST_F(FormMainTest, TheWaitCursorShowsUntilTheResultIsPainted)
{
    OpenExposed();
    for (const std::function<void()>& command : std::initializer_list<std::function<void()>> {
             [this] { Form->BTNSearch->click(); }, [this] { Form->LoadExcelFile(WriteWorkbook()); }}) {
        TCursorAtPaint cursors;
        Form->Editor->viewport()->installEventFilter(&cursors);
        command();
        EXPECT_TRUE(cursors.Shapes.contains(Qt::WaitCursor)) << cursors.Shapes.size();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

TEST_F(FormMainTest, TabOrderRunsThroughTheFilterGroupThenTheViewThenThePath)
{
    Open();
    const QList<QWidget*> expected {Form->LEDITA, Form->LEDITB, Form->LEDITC, Form->LEDITD, Form->LEDITE,
        Form->LEDITF, Form->LEDITText, Form->BTNSearch, Form->CHKHex, Form->BTNWipe, Form->BTNPasteHex,
        Form->Editor, Form->EDITObjDefFile, Form->BTNBrowseObjDefFile};
    QList<QWidget*> order;
    QWidget* widget = Form->LEDITA;
    do {
        if (expected.contains(widget))
            order.append(widget);
        widget = widget->nextInFocusChain();
    } while (widget != Form->LEDITA);
    EXPECT_EQ(order, expected);
}

} // namespace

#include "FormMainTest.moc"
