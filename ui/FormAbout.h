#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's name, version and word size, and the maker line. Modal, fixed
// size, centred on the screen; "Ok" and Esc close it with the cancel result.
class TFormAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TFormAbout(QWidget* Owner);

    QLabel* LBLText;
    QPushButton* Button1;

    // "Kestrune", "Version 5.0 (64 bits)" and the maker line, each ended by a line break.
    static QString AboutText();

protected:
    void showEvent(QShowEvent* Event) override;
};
