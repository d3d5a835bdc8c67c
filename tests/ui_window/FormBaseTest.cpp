#include "ui/FormBase.h"

#include "WindowTest.h"
#include "support/Exception.h"
#include "ui/LabeledEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>

#include <optional>
#include <string>

namespace {

// A window with one control of each stored kind, a labelled edit box, an unnamed edit box,
// one edit box it keeps out of its profile, and an edit box on a page. The controls are not
// laid out, so that the window takes any size.
class TTestForm : public TFormBase
{
public:
    TTestForm()
    {
        setObjectName(QStringLiteral("FormTest"));
        auto* client = new QWidget(this);
        setCentralWidget(client);
        Edit = Named<QLineEdit>(client, "Edit");
        Spin = Named<QSpinBox>(client, "Spin");
        Check = Named<QCheckBox>(client, "Check");
        Radio = Named<QRadioButton>(client, "Radio");
        List = Named<QListWidget>(client, "List");
        Combo = Named<QComboBox>(client, "Combo");
        Pages = Named<QTabWidget>(client, "Pages");
        auto* page = new QWidget;
        Pages->addTab(page, QStringLiteral("One"));
        Pages->addTab(new QWidget, QStringLiteral("Two"));
        PageEdit = Named<QLineEdit>(page, "PageEdit");
        Labeled = new TLabeledEdit(QStringLiteral("Label"), client);
        Labeled->setObjectName(QStringLiteral("Labeled"));
        Unnamed = new QLineEdit(client);
        Private = Named<QLineEdit>(client, "Private");
    }

    QLineEdit* Edit;
    QSpinBox* Spin;
    QCheckBox* Check;
    QRadioButton* Radio;
    QListWidget* List;
    QComboBox* Combo;
    QTabWidget* Pages;
    QLineEdit* PageEdit;
    TLabeledEdit* Labeled;
    QLineEdit* Unnamed;
    QLineEdit* Private;

protected:
    bool CanReadControl(QWidget* Control) override { return Control != Private; }
    bool CanWriteControl(QWidget* Control) override { return Control != Private; }

private:
    template<typename TControl> static TControl* Named(QWidget* parent, const char* name)
    {
        auto* control = new TControl(parent);
        control->setObjectName(QString::fromLatin1(name));
        return control;
    }
};

class FormBaseTest : public WindowTest
{
protected:
    QString SettingsText() const
    {
        QFile file(SettingsFileName());
        // A new settings file has CR LF line ends; the texts below are written with LF.
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) : QString();
    }

    void Store(const QByteArray& content) const
    {
        QFile file(SettingsFileName());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static QSize Screen() { return QGuiApplication::primaryScreen()->geometry().size(); }
};

TEST_F(FormBaseTest, PlainControlsMakeARoundTripThroughTheSettingsFile)
{
    {
        TTestForm form;
        form.Edit->setText(QStringLiteral("text = with equals"));
        form.Spin->setValue(42);
        form.Check->setChecked(true);
        form.Radio->setChecked(true);
        form.List->addItems({QStringLiteral("one"), QStringLiteral("two")});
        form.Combo->addItems({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
        form.Combo->setCurrentIndex(2);
        form.Pages->setCurrentIndex(1);
        form.PageEdit->setText(QStringLiteral("on a page"));
        form.Labeled->setText(QStringLiteral("labelled"));
        form.Unnamed->setText(QStringLiteral("unnamed"));
        form.Private->setText(QStringLiteral("private"));
        form.DoProfileActions(TProfileAction::paWriteControls);
    }
    EXPECT_EQ(SettingsText(),
        QStringLiteral(
            "[FormTest]\nEdit=text = with equals\nSpin=42\nCheck=1\nRadio=1\nPages=1\nPageEdit=on a page\n\n"
            "[FormTest.List]\nc=2\n0=one\n1=two\n\n[FormTest.Combo]\nc=3\n0=x\n1=y\n2=z\ni=2\n"));

    TTestForm form;
    form.Labeled->setText(QStringLiteral("typed"));
    form.Private->setText(QStringLiteral("kept"));
    form.DoProfileActions(TProfileAction::paReadControls);
    EXPECT_EQ(form.Edit->text(), QStringLiteral("text = with equals"));
    EXPECT_EQ(form.Spin->value(), 42);
    EXPECT_TRUE(form.Check->isChecked());
    EXPECT_TRUE(form.Radio->isChecked());
    ASSERT_EQ(form.List->count(), 2);
    EXPECT_EQ(form.List->item(1)->text(), QStringLiteral("two"));
    EXPECT_EQ(form.Combo->count(), 3);
    EXPECT_EQ(form.Combo->currentText(), QStringLiteral("z"));
    EXPECT_EQ(form.Pages->currentIndex(), 1);
    EXPECT_EQ(form.PageEdit->text(), QStringLiteral("on a page"));
    EXPECT_EQ(form.Labeled->text(), QStringLiteral("typed"));
    EXPECT_EQ(form.Private->text(), QStringLiteral("kept"));
}

TEST_F(FormBaseTest, ControlsWithoutStoredValuesKeepTheirState)
{
    Store("[FormTest]\nSpin=many\n[FormTest.List]\nc=0\n[FormTest.Combo]\nc=-1\n");
    TTestForm form;
    form.Edit->setText(QStringLiteral("current"));
    form.Spin->setValue(7);
    form.Check->setChecked(true);
    form.List->addItems({QStringLiteral("kept")});
    form.Combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
    form.Combo->setCurrentIndex(1);
    form.DoProfileActions(TProfileAction::paReadControls);
    EXPECT_EQ(form.Edit->text(), QStringLiteral("current"));
    EXPECT_EQ(form.Spin->value(), 7);
    EXPECT_TRUE(form.Check->isChecked());
    EXPECT_EQ(form.List->count(), 1);
    EXPECT_EQ(form.Combo->count(), 2);
    EXPECT_EQ(form.Combo->currentIndex(), 1);
}

TEST_F(FormBaseTest, WithoutSettingsAWindowOpensHalfTheScreenAQuarterFromTheEdges)
{
    TTestForm form;
    form.show();
    EXPECT_EQ(form.size(), Screen() / 2);
    EXPECT_EQ(form.geometry().topLeft(), QPoint(Screen().width() / 4, Screen().height() / 4));
    EXPECT_FALSE(QFile::exists(SettingsFileName()));
}

TEST_F(FormBaseTest, ADialogStyleWindowKeepsItsSizeAndGetsThePosition)
{
    TTestForm form;
    form.setFixedSize(300, 200);
    form.show();
    EXPECT_EQ(form.size(), QSize(300, 200));
    EXPECT_EQ(form.geometry().topLeft(), QPoint(Screen().width() / 4, Screen().height() / 4));
}

TEST_F(FormBaseTest, HidingWritesTheGeometryAndShowingReadsIt)
{
    {
        TTestForm form;
        form.show();
        form.setGeometry(30, 40, 500, 300);
        form.hide();
    }
    EXPECT_EQ(SettingsText(),
        QStringLiteral("[FormTest]\nWindowState=0\nTop=40\nLeft=30\nWidth=500\nHeight=300\nStayOnTop=0\n"));
    TTestForm form;
    form.show();
    EXPECT_EQ(form.geometry().topLeft(), QPoint(30, 40));
    EXPECT_EQ(form.size(), QSize(500, 300));
}

struct GeometryCase
{
    std::string Name;
    QByteArray Stored;
    Qt::WindowStates ExpectedState;
    std::optional<QSize> ExpectedSize; // an invalid size: half the screen
    std::optional<QPoint> ExpectedPosition;
};

const QSize HalfScreen;

class FormBaseGeometryTest : public FormBaseTest, public testing::WithParamInterface<GeometryCase>
{
};

TEST_P(FormBaseGeometryTest, AppliesTheStoredValuesAsTheyAre)
{
    const GeometryCase& c = GetParam();
    Store("[FormTest]\n" + c.Stored);
    TTestForm form;
    form.show();
    EXPECT_EQ(form.windowState(), c.ExpectedState);
    if (c.ExpectedSize) {
        EXPECT_EQ(form.size(), c.ExpectedSize->isValid() ? *c.ExpectedSize : Screen() / 2);
    }
    if (c.ExpectedPosition) {
        EXPECT_EQ(form.geometry().topLeft(), *c.ExpectedPosition);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FormBaseGeometryTest,
    testing::Values(GeometryCase {"Normal", "WindowState=0\nTop=10\nLeft=20\nWidth=400\nHeight=250\n",
                        Qt::WindowNoState, QSize(400, 250), QPoint(20, 10)},
        GeometryCase {"WidthWithoutHeight", "Width=400\nTop=10\nLeft=20\n", Qt::WindowNoState, HalfScreen,
            QPoint(20, 10)},
        GeometryCase {"ZeroHeight", "Width=400\nHeight=0\n", Qt::WindowNoState, HalfScreen, std::nullopt},
        GeometryCase {"FarOffTheScreen", "Top=-3000\nLeft=9000\nWidth=400\nHeight=250\n", Qt::WindowNoState,
            QSize(400, 250), QPoint(9000, -3000)},
        GeometryCase {"HexadecimalValues", "Top=0x10\nLeft=0x20\nWidth=0x190\nHeight=0xFA\n",
            Qt::WindowNoState, QSize(400, 250), QPoint(32, 16)},
        GeometryCase {"Maximised", "WindowState=2\nTop=10\nLeft=20\nWidth=400\nHeight=250\n",
            Qt::WindowMaximized, std::nullopt, std::nullopt},
        GeometryCase {"MinimisedAtItsStoredPosition",
            "WindowState=1\nTop=10\nLeft=20\nWidth=400\nHeight=250\n", Qt::WindowMinimized, std::nullopt,
            QPoint(20, 10)},
        GeometryCase {"AnUnknownStateIsNormal", "WindowState=7\nWidth=400\nHeight=250\n", Qt::WindowNoState,
            QSize(400, 250), std::nullopt}),
    [](const testing::TestParamInfo<GeometryCase>& tested) { return tested.param.Name; });

TEST_F(FormBaseTest, AMaximisedWindowWritesItsStateAndReopensMaximised)
{
    {
        TTestForm form;
        form.show();
        form.setWindowState(Qt::WindowMaximized);
        form.hide();
    }
    EXPECT_TRUE(SettingsText().startsWith(QStringLiteral("[FormTest]\nWindowState=2\n")));
    TTestForm form;
    form.show();
    EXPECT_TRUE(form.isMaximized());
}

TEST_F(FormBaseTest, StayOnTopIsWrittenButReadOnlyWithTheMenuItem)
{
    Store("[FormTest]\nStayOnTop=1\n");
    {
        TTestForm form;
        form.show();
        EXPECT_FALSE(form.IsStayOnTop());
    }
    TTestForm form;
    QMenu windowMenu;
    form.InstallStayOnTopMenuItemOnTitleBar(windowMenu);
    const QList<QAction*> items = windowMenu.actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->isSeparator());
    QAction* stayOnTop = items[1];
    EXPECT_EQ(stayOnTop->text(), QStringLiteral("Stay on top"));
    EXPECT_FALSE(stayOnTop->isChecked());

    form.show();
    EXPECT_TRUE(form.IsStayOnTop());
    EXPECT_TRUE(stayOnTop->isChecked());
    stayOnTop->trigger();
    EXPECT_FALSE(form.IsStayOnTop());
    EXPECT_FALSE(stayOnTop->isChecked());
    EXPECT_TRUE(form.isVisible());
    stayOnTop->trigger();
    form.hide();
    EXPECT_EQ(SettingsFile().ReadString(QStringLiteral("FormTest"), QStringLiteral("StayOnTop"), QString()),
        QStringLiteral("1"));
}

TEST_F(FormBaseTest, TheCheckedMenuItemFollowsVisibility)
{
    TTestForm form;
    QAction item(QStringLiteral("Test window"));
    item.setCheckable(true);
    form.SetCheckedMenuItem(&item);
    form.show();
    EXPECT_TRUE(item.isChecked());
    form.hide();
    EXPECT_FALSE(item.isChecked());
}

TEST_F(FormBaseTest, RestoreBringsAMinimisedWindowBack)
{
    TTestForm form;
    form.show();
    form.setWindowState(Qt::WindowMinimized);
    form.Restore();
    EXPECT_FALSE(form.isMinimized());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(FormBaseTest, AWriteThatFailsRaisesAndSkipsTheRest)
{
    // The settings folder replaced by a plain file: nothing can be written below it.
    ASSERT_TRUE(QDir(SettingsFolder()).removeRecursively());
    QFile blocker(SettingsFolder().chopped(1));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    TTestForm form;
    form.Edit->setText(QStringLiteral("lost"));
    try {
        form.DoProfileActions({TProfileAction::paWriteGeometry, TProfileAction::paWriteControls});
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to write to ") + SettingsFileName());
    }
    form.show();
    EXPECT_EQ(form.size(), Screen() / 2);
    form.hide();
    EXPECT_EQ(Messages, QStringList {QStringLiteral("Unable to write to ") + SettingsFileName()});
}

} // namespace
