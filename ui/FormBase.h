#pragma once

#include <QFlags>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QMenu;

enum class TProfileAction {
    paReadControls = 0x1,
    paWriteControls = 0x2,
    paReadGeometry = 0x4,
    paWriteGeometry = 0x8,
};
Q_DECLARE_FLAGS(TProfileActionSet, TProfileAction)
Q_DECLARE_OPERATORS_FOR_FLAGS(TProfileActionSet)

// A top-level window that keeps its profile in the settings file (SettingsFile), in the section
// named after the window's object name: its geometry and the contents of its plain input
// controls (see ui/ControlProfile.h). Geometry keys: "WindowState" (0 normal, 1 minimised,
// 2 maximised), "Top", "Left", "Width", "Height" and "StayOnTop".
//
// The window reads its geometry each time it is shown and writes it each time it is hidden.
// It can offer a "Stay on top" item in a menu standing for its window menu, and a menu item
// whose check mark follows the window's visibility.
class TFormBase : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFormBase(QWidget* Parent = nullptr);

    // Performs the actions in the order write geometry, read geometry, write controls, read
    // controls. A failing write raises "Unable to write to %s" and skips the rest.
    void DoProfileActions(TProfileActionSet Actions);

    // Appends a separator and a "Stay on top" item to the menu; from then on the item switches
    // the window between normal and always-on-top, and a stored "StayOnTop" is read back.
    void InstallStayOnTopMenuItemOnTitleBar(QMenu& WindowMenu);
    bool IsStayOnTop() const;

    // Shows the window, back from minimised to normal when it was minimised.
    void Restore();

    // An item checked while the window is shown and unchecked while it is hidden (not owned).
    void SetCheckedMenuItem(QAction* Item) { CheckedMenuItem = Item; }

protected:
    // Whether a control takes part in the profile; every control does unless a window says no.
    virtual bool CanReadControl(QWidget* Control);
    virtual bool CanWriteControl(QWidget* Control);

    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void WriteGeometry();
    void ReadGeometry();
    bool IsDialogStyle() const;
    void SetStayOnTop(bool StayOnTop);
    void UpdateStayOnTopCheckMark();

    bool StayOnTopOnTitleBar = false;
    // The last profile write failed: the settings file is not tried again when the window
    // hides right after, so that its message shows once.
    bool FLastWriteFailed = false;
    QPointer<QAction> CheckedMenuItem;
    QPointer<QAction> FStayOnTopItem;
};
