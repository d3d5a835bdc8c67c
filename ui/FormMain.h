#pragma once

#include "obisdata/Model.h"
#include "ui/EventHandlers.h"
#include "ui/FormBase.h"

#include <QStringList>

class QAction;
class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;
class TLabeledEdit;
class THighLighter;
class TResultView;

// The main window: the path of the object-definition workbook, the "Filter" group with the six
// code fields A to F, the text box and the command buttons, the result view and a one-panel
// status bar. It searches the database it was given (the current database in the program),
// imports the stored workbook when it is first shown, and keeps the workbook path and the
// "Hex" box in its profile ("FormMain"); the field boxes and the text box are not stored.
class TFormMain : public TFormBase
{
    Q_OBJECT

public:
    explicit TFormMain(TOBISData& Database = CurrentOBISData(), QWidget* Parent = nullptr);

    QMenuBar* MainMenu1;
    QGroupBox* GRPFilter;
    TLabeledEdit* LEDITText;
    TLabeledEdit* LEDITA;
    TLabeledEdit* LEDITB;
    TLabeledEdit* LEDITC;
    TLabeledEdit* LEDITD;
    TLabeledEdit* LEDITE;
    TLabeledEdit* LEDITF;
    QPushButton* BTNSearch;
    QCheckBox* CHKHex;
    QPushButton* BTNWipe;
    QAction* MMWords;
    QStatusBar* SBMain;
    QLabel* SBMainPanel; // the status bar's one panel: the item count
    QMenu* MMHelp;
    QAction* MMHelpHelp;
    QAction* MMHelpHomePage;
    QAction* MMHelpAbout;
    QMenu* PopupMenu1;
    QAction* PMCopy;
    QPushButton* BTNPasteHex;
    QGroupBox* GroupBox1;
    QLineEdit* EDITObjDefFile;
    QPushButton* BTNBrowseObjDefFile;
    QFileDialog* OpenObjDefFile = nullptr; // created when first needed

    // What the last search read from the boxes.
    TOBISCode OBISCode;
    TOBISCodeFilter OBISCodeFilter;
    QStringList PlusWords;
    QStringList MinusWords;

    THighLighter* HighLighter;
    TResultView* Editor;

    // Appends the line to the result view and repaints the view before returning.
    void AddLogLine(const QString& Line);
    // Imports the workbook into the database, logging into the result view (which it clears
    // first); an empty name only clears the view.
    void LoadExcelFile(const QString& FileName);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;

private:
    void CreateMenus();
    void CreatePathGroup(QWidget* Parent);
    void CreateFilterGroup(QWidget* Parent);
    void CreateResultView(QWidget* Parent);
    void SetTabOrder();
    void ConnectHandlers();
    // Connects the signal to the handler, run through RunHandler.
    template<typename TSender, typename TSignal>
    void Bind(TSender* Sender, TSignal Signal, void (TFormMain::*Handler)())
    {
        connect(Sender, Signal, this,
            [this, Handler] { RunHandler(this, [this, Handler] { (this->*Handler)(); }); });
    }

    void FormShow();
    void FormClose();
    bool FormKeyDown(QObject* Receiver, int Key);

    void BTNSearchClick();
    void ReadCodeFields();
    void ReadWords();
    TLabeledEdit* ColumnEdit(TColumn Column) const;

    void CHKHexClick();
    void ConvertFieldText(QLineEdit* Edit, bool ToHex);
    void BTNPasteHexClick();
    void SetFieldFromPair(QLineEdit* Edit, const QString& Pasted, int Position);
    void BTNWipeClick();
    void MMWordsClick();
    void PMCopyClick();
    void BTNBrowseObjDefFileClick();
    void MMHelpHelpClick();
    void MMHelpHomePageClick();
    void MMHelpAboutClick();

    TOBISData& FDatabase;
};
