#include "ui/FormBase.h"

#include "support/AppPaths.h"
#include "ui/ControlProfile.h"
#include "ui/EventHandlers.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

namespace {

const QString WindowStateKey = QStringLiteral("WindowState");
const QString TopKey = QStringLiteral("Top");
const QString LeftKey = QStringLiteral("Left");
const QString WidthKey = QStringLiteral("Width");
const QString HeightKey = QStringLiteral("Height");
const QString StayOnTopKey = QStringLiteral("StayOnTop");

enum TStoredWindowState { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

int StoredWindowState(Qt::WindowStates states)
{
    if (states & Qt::WindowMinimized)
        return wsMinimized;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return wsMaximized;
    return wsNormal;
}

QSize ScreenSize()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

} // namespace

TFormBase::TFormBase(QWidget* Parent)
    : QMainWindow(Parent)
{ }

void TFormBase::DoProfileActions(TProfileActionSet Actions)
{
    const auto canRead = [this](QWidget* control) { return CanReadControl(control); };
    const auto canWrite = [this](QWidget* control) { return CanWriteControl(control); };
    const bool writes = Actions & (TProfileAction::paWriteGeometry | TProfileAction::paWriteControls);
    FLastWriteFailed = writes;
    if (Actions & TProfileAction::paWriteGeometry)
        WriteGeometry();
    if (Actions & TProfileAction::paReadGeometry)
        ReadGeometry();
    if (Actions & TProfileAction::paWriteControls)
        WriteControls(SettingsFile(), objectName(), *this, canWrite);
    if (writes)
        FLastWriteFailed = false;
    if (Actions & TProfileAction::paReadControls)
        ReadControls(SettingsFile(), objectName(), *this, canRead);
}

bool TFormBase::CanReadControl(QWidget*)
{
    return true;
}

bool TFormBase::CanWriteControl(QWidget*)
{
    return true;
}

// Position and size are those of the window's contents (its client area), which is what
// ReadGeometry applies: a window manager's frame around it is never counted in, so the window
// comes back where it was. A maximised window writes its maximised bounds.
void TFormBase::WriteGeometry()
{
    TIniFile& settings = SettingsFile();
    const QString section = objectName();
    settings.WriteInteger(section, WindowStateKey, StoredWindowState(windowState()));
    settings.WriteInteger(section, TopKey, geometry().y());
    settings.WriteInteger(section, LeftKey, geometry().x());
    settings.WriteInteger(section, WidthKey, width());
    settings.WriteInteger(section, HeightKey, height());
    settings.WriteBool(section, StayOnTopKey, IsStayOnTop());
}

// Without stored values a window opens half the screen wide and high (or as large as its
// contents need, when that is more), a quarter of the screen from its left and top edges; a dialog-style window keeps its size. Stored values are applied
// as they are; a stored window state other than 1 and 2 counts as normal.
void TFormBase::ReadGeometry()
{
    const TIniFile& settings = SettingsFile();
    const QString section = objectName();
    const QSize screen = ScreenSize();
    const auto readPosition = [&] {
        const QPoint topLeft(settings.ReadInteger(section, LeftKey, screen.width() / 4),
            settings.ReadInteger(section, TopKey, screen.height() / 4));
        setGeometry(QRect(topLeft, size()));
    };
    if (IsDialogStyle()) {
        readPosition();
    } else {
        const int state = settings.ReadInteger(section, WindowStateKey, wsNormal);
        if (state == wsMinimized)
            setWindowState(Qt::WindowMinimized);
        else if (state == wsMaximized)
            setWindowState(Qt::WindowMaximized);
        else
            setWindowState(Qt::WindowNoState);
        if (state != wsMinimized && state != wsMaximized) {
            const int storedWidth = settings.ReadInteger(section, WidthKey, 0);
            const int storedHeight = settings.ReadInteger(section, HeightKey, 0);
            if (storedWidth != 0 && storedHeight != 0)
                resize(storedWidth, storedHeight);
            else
                resize(QSize(screen.width() / 2, screen.height() / 2).expandedTo(sizeHint()));
        }
        if (state != wsMaximized)
            readPosition();
    }
    if (StayOnTopOnTitleBar && settings.ReadBool(section, StayOnTopKey, false))
        SetStayOnTop(true);
}

// A window of fixed size, like a dialog's border.
bool TFormBase::IsDialogStyle() const
{
    return minimumSize() == maximumSize();
}

void TFormBase::InstallStayOnTopMenuItemOnTitleBar(QMenu& WindowMenu)
{
    StayOnTopOnTitleBar = true;
    WindowMenu.addSeparator();
    FStayOnTopItem = WindowMenu.addAction(tr("Stay on top"));
    FStayOnTopItem->setCheckable(true);
    connect(FStayOnTopItem, &QAction::triggered, this, [this] { SetStayOnTop(!IsStayOnTop()); });
    UpdateStayOnTopCheckMark();
}

bool TFormBase::IsStayOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// Changes only the window's stacking: the platform window is kept, not created anew.
void TFormBase::SetStayOnTop(bool StayOnTop)
{
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, StayOnTop);
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle())
        window->setFlags(flags);
    UpdateStayOnTopCheckMark();
}

void TFormBase::UpdateStayOnTopCheckMark()
{
    if (FStayOnTopItem)
        FStayOnTopItem->setChecked(IsStayOnTop());
}

void TFormBase::Restore()
{
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
}

void TFormBase::showEvent(QShowEvent* Event)
{
    QMainWindow::showEvent(Event);
    if (Event->spontaneous())
        return;
    RunHandler(this, [this] { DoProfileActions(TProfileAction::paReadGeometry); });
    if (CheckedMenuItem)
        CheckedMenuItem->setChecked(true);
}

void TFormBase::hideEvent(QHideEvent* Event)
{
    QMainWindow::hideEvent(Event);
    if (Event->spontaneous())
        return;
    if (!FLastWriteFailed)
        RunHandler(this, [this] { DoProfileActions(TProfileAction::paWriteGeometry); });
    if (CheckedMenuItem)
        CheckedMenuItem->setChecked(false);
}
