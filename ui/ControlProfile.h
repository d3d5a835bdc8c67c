#pragma once

#include <QString>

#include <functional>

class QWidget;
class TIniFile;

// The contents of a window's plain input controls in the settings file. Each named control is
// stored in the window's section under its object name:
//   edit box (QLineEdit)      its text
//   spin edit (QSpinBox)      its value as text
//   check box, radio button   checked, as a boolean
//   list box (QListWidget)    a section of its own, "<window>.<control>": "c" = the number of
//                             items, then the keys "0", "1", ... with the item texts
//   combo box (QComboBox)     like a list box, plus "i" = the selected index
//   page control (QTabWidget) the index of the current page
// Every other control is left out: labels, buttons, group boxes, labelled edit boxes
// (TLabeledEdit), the result view. The controls are visited depth first in creation order; the
// inner parts of a stored control and other windows (dialogs, menus) are not visited.

using TControlFilter = std::function<bool(QWidget* Control)>;

void WriteControls(
    TIniFile& Settings, const QString& Section, QWidget& Window, const TControlFilter& CanWriteControl);

// Each value is read with the control's current state as default. A list or combo box keeps
// its items when the stored count is 0 or less.
void ReadControls(
    const TIniFile& Settings, const QString& Section, QWidget& Window, const TControlFilter& CanReadControl);
