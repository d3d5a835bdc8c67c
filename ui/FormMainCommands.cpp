// The commands of the main window: the search and everything the buttons and menus start.
#include "ui/FormMain.h"

#include "support/AppPaths.h"
#include "support/Exception.h"
#include "support/HelpViewer.h"
#include "support/HexString.h"
#include "support/IntegerText.h"
#include "ui/FormAbout.h"
#include "ui/LabeledEdit.h"
#include "frontend/ResultDisplay.h"
#include "ui/ResultView.h"
#include "ui/WaitCursor.h"
#include "frontend/SearchInput.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QUrl>

namespace {

// The length of a code as a hexadecimal octet string: six bytes.
constexpr qsizetype HexCodeLength = 12;

// Twelve characters that read as hexadecimal bytes (blanks between the digits pass).
bool IsHexCodeText(const QString& text)
{
    try {
        HexStrToByteStr(text);
    } catch (const Exception&) {
        return false;
    }
    return text.size() == HexCodeLength;
}

} // namespace

// Reads the boxes and the words, and lists the blocks of every matching definition with the
// item count in the status bar. A bad field box ends the command without any other change.
// The wait cursor shows until the result is painted.
void TFormMain::BTNSearchClick()
{
    ReadCodeFields();
    ReadWords();
    const TWaitCursor waitCursor;
    const QStringList resultLines
        = FDatabase.GetMatchingLines(PlusWords, MinusWords, OBISCode, OBISCodeFilter);
    const QStringList displayLines = DisplayBlocks(resultLines, OBISCode, OBISCodeFilter);
    Editor->Clear();
    Editor->AppendLines(displayLines);
    SBMainPanel->setText(ItemCountText(resultLines.size()));
    Editor->RepaintNow();
}

// An empty box leaves its byte as it was and clears its filter flag. A box that does not hold
// a value 0..255 (hexadecimal digits only while "Hex" is checked) gets the focus and a beep,
// and the command ends silently.
void TFormMain::ReadCodeFields()
{
    for (const TColumn column : AllColumns) {
        TLabeledEdit* edit = ColumnEdit(column);
        if (edit->text().isEmpty()) {
            OBISCodeFilter[column] = false;
            continue;
        }
        const std::optional<quint8> value = ReadFieldValue(edit->text(), CHKHex->isChecked());
        if (!value) {
            edit->setFocus();
            QApplication::beep();
            throw ESilentAbort();
        }
        OBISCode[column] = *value;
        OBISCodeFilter[column] = true;
    }
}

void TFormMain::ReadWords()
{
    TSearchWords words = ::ReadWords(LEDITText->text());
    PlusWords = std::move(words.PlusWords);
    MinusWords = std::move(words.MinusWords);
}

TLabeledEdit* TFormMain::ColumnEdit(TColumn Column) const
{
    switch (Column) {
    case TColumn::A:
        return LEDITA;
    case TColumn::B:
        return LEDITB;
    case TColumn::C:
        return LEDITC;
    case TColumn::D:
        return LEDITD;
    case TColumn::E:
        return LEDITE;
    case TColumn::F:
        break;
    }
    return LEDITF;
}

void TFormMain::CHKHexClick()
{
    for (const TColumn column : AllColumns)
        ConvertFieldText(ColumnEdit(column), CHKHex->isChecked());
}

// Decimal to hexadecimal (upper case, at least two digits; a negative value as its 32-bit
// pattern) or back. Values are not checked against 0..255 here: the next search does that.
void TFormMain::ConvertFieldText(QLineEdit* Edit, bool ToHex)
{
    if (Edit->text().isEmpty())
        return;
    const QString text = ToHex ? Edit->text() : QStringLiteral("$") + Edit->text();
    const std::optional<qint32> value = TryStrToInt(text);
    if (!value)
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
    Edit->setText(ToHex ? QString::number(static_cast<quint32>(*value), 16).toUpper().rightJustified(2, u'0')
                        : QString::number(*value));
}

// Twelve hexadecimal digits from the clipboard become the six boxes, two characters each and
// exactly as they are; "Hex" is checked without converting the boxes, and the search runs.
// Any other clipboard content only beeps.
void TFormMain::BTNPasteHexClick()
{
    const QString pasted = QGuiApplication::clipboard()->text();
    if (!IsHexCodeText(pasted)) {
        QApplication::beep();
        return;
    }
    {
        const QSignalBlocker hexClickDetached(CHKHex);
        for (const TColumn column : AllColumns)
            SetFieldFromPair(ColumnEdit(column), pasted, 2 * static_cast<int>(column) + 1);
        CHKHex->setChecked(true);
    }
    BTNSearchClick();
}

// Position counts from 1.
void TFormMain::SetFieldFromPair(QLineEdit* Edit, const QString& Pasted, int Position)
{
    Edit->setText(Pasted.mid(Position - 1, 2));
}

void TFormMain::BTNWipeClick()
{
    for (const TColumn column : AllColumns)
        ColumnEdit(column)->clear();
    LEDITText->clear();
    BTNSearchClick();
}

// Every word of the database, one a line; the count always reads "N items".
void TFormMain::MMWordsClick()
{
    Editor->Clear();
    const QStringList& words = FDatabase.AllWords();
    Editor->AppendLines(words);
    SBMainPanel->setText(QString::number(words.size()) + QStringLiteral(" items"));
}

void TFormMain::PMCopyClick()
{
    Editor->copy();
}

// Imports the chosen workbook; the path box takes its path only when the import succeeded.
void TFormMain::BTNBrowseObjDefFileClick()
{
    if (!OpenObjDefFile)
        OpenObjDefFile = new QFileDialog(this);
    if (OpenObjDefFile->exec() != QDialog::Accepted || OpenObjDefFile->selectedFiles().isEmpty())
        return;
    const QString fileName = OpenObjDefFile->selectedFiles().constFirst();
    LoadExcelFile(fileName);
    EDITObjDefFile->setText(fileName);
}

void TFormMain::MMHelpHelpClick()
{
    if (HtmlHelpAvailable())
        CallHtmlHelp(HelpFileName());
}

// The local home page among the help pages, in the desktop's browser.
void TFormMain::MMHelpHomePageClick()
{
    const QString homePage = HomePageFileName();
    if (!QFileInfo::exists(homePage))
        throw Exception(QStringLiteral("The home page %1 is missing").arg(homePage));
    QDesktopServices::openUrl(QUrl::fromLocalFile(homePage));
}

void TFormMain::MMHelpAboutClick()
{
    TFormAbout about(this);
    about.exec();
}
