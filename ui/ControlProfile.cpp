#include "ui/ControlProfile.h"

#include "support/IniFile.h"
#include "ui/LabeledEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include <optional>

namespace {

const QString CountKey = QStringLiteral("c");
const QString IndexKey = QStringLiteral("i");

enum class TControlKind { Edit, SpinEdit, CheckBox, RadioButton, ListBox, ComboBox, PageControl, Other };

// The first matching kind decides.
TControlKind KindOf(QWidget* control)
{
    if (qobject_cast<TLabeledEdit*>(control))
        return TControlKind::Other;
    if (qobject_cast<QLineEdit*>(control))
        return TControlKind::Edit;
    if (qobject_cast<QSpinBox*>(control))
        return TControlKind::SpinEdit;
    if (qobject_cast<QCheckBox*>(control))
        return TControlKind::CheckBox;
    if (qobject_cast<QRadioButton*>(control))
        return TControlKind::RadioButton;
    if (qobject_cast<QListWidget*>(control))
        return TControlKind::ListBox;
    if (qobject_cast<QComboBox*>(control))
        return TControlKind::ComboBox;
    if (qobject_cast<QTabWidget*>(control))
        return TControlKind::PageControl;
    return TControlKind::Other;
}

using TControlVisitor = std::function<void(QWidget* control, TControlKind kind)>;

void ForEachControl(QWidget& parent, const TControlVisitor& visit)
{
    for (QObject* child : parent.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || control->isWindow())
            continue;
        const TControlKind kind = KindOf(control);
        if (!control->objectName().isEmpty())
            visit(control, kind);
        if (kind == TControlKind::Other || kind == TControlKind::PageControl)
            ForEachControl(*control, visit);
    }
}

QString ListSection(const QString& section, const QWidget* control)
{
    return section + u'.' + control->objectName();
}

void WriteItems(TIniFile& settings, const QString& listSection, const QStringList& items)
{
    settings.EraseSection(listSection);
    settings.WriteInteger(listSection, CountKey, static_cast<int>(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i)
        settings.WriteString(listSection, QString::number(i), items[i]);
}

// The stored items, or nothing when the stored count is 0 or less.
std::optional<QStringList> ReadItems(const TIniFile& settings, const QString& listSection)
{
    const int count = settings.ReadInteger(listSection, CountKey, 0);
    if (count <= 0)
        return std::nullopt;
    QStringList items;
    for (int i = 0; i < count; ++i)
        items.append(settings.ReadString(listSection, QString::number(i), QString()));
    return items;
}

QStringList ComboItems(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

QStringList ListItems(const QListWidget& list)
{
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items.append(list.item(i)->text());
    return items;
}

void WriteControl(TIniFile& settings, const QString& section, QWidget* control, TControlKind kind)
{
    const QString name = control->objectName();
    switch (kind) {
    case TControlKind::Edit:
        settings.WriteString(section, name, static_cast<QLineEdit*>(control)->text());
        break;
    case TControlKind::SpinEdit:
        settings.WriteString(section, name, QString::number(static_cast<QSpinBox*>(control)->value()));
        break;
    case TControlKind::CheckBox:
    case TControlKind::RadioButton:
        settings.WriteBool(section, name, static_cast<QAbstractButton*>(control)->isChecked());
        break;
    case TControlKind::ListBox:
        WriteItems(settings, ListSection(section, control), ListItems(*static_cast<QListWidget*>(control)));
        break;
    case TControlKind::ComboBox: {
        const auto* combo = static_cast<QComboBox*>(control);
        WriteItems(settings, ListSection(section, control), ComboItems(*combo));
        settings.WriteInteger(ListSection(section, control), IndexKey, combo->currentIndex());
        break;
    }
    case TControlKind::PageControl:
        settings.WriteInteger(section, name, static_cast<QTabWidget*>(control)->currentIndex());
        break;
    case TControlKind::Other:
        break;
    }
}

void ReadControl(const TIniFile& settings, const QString& section, QWidget* control, TControlKind kind)
{
    const QString name = control->objectName();
    switch (kind) {
    case TControlKind::Edit: {
        auto* edit = static_cast<QLineEdit*>(control);
        edit->setText(settings.ReadString(section, name, edit->text()));
        break;
    }
    case TControlKind::SpinEdit: {
        auto* spin = static_cast<QSpinBox*>(control);
        bool isNumber = false;
        const int value = settings.ReadString(section, name, QString::number(spin->value())).toInt(&isNumber);
        if (isNumber)
            spin->setValue(value);
        break;
    }
    case TControlKind::CheckBox:
    case TControlKind::RadioButton: {
        auto* button = static_cast<QAbstractButton*>(control);
        button->setChecked(settings.ReadBool(section, name, button->isChecked()));
        break;
    }
    case TControlKind::ListBox:
        if (const std::optional<QStringList> items = ReadItems(settings, ListSection(section, control))) {
            auto* list = static_cast<QListWidget*>(control);
            list->clear();
            list->addItems(*items);
        }
        break;
    case TControlKind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(control);
        if (const std::optional<QStringList> items = ReadItems(settings, ListSection(section, control))) {
            combo->clear();
            combo->addItems(*items);
        }
        combo->setCurrentIndex(
            settings.ReadInteger(ListSection(section, control), IndexKey, combo->currentIndex()));
        break;
    }
    case TControlKind::PageControl:
        static_cast<QTabWidget*>(control)->setCurrentIndex(settings.ReadInteger(section, name, 0));
        break;
    case TControlKind::Other:
        break;
    }
}

} // namespace

void WriteControls(
    TIniFile& Settings, const QString& Section, QWidget& Window, const TControlFilter& CanWriteControl)
{
    ForEachControl(Window, [&](QWidget* control, TControlKind kind) {
        if (CanWriteControl(control))
            WriteControl(Settings, Section, control, kind);
    });
}

void ReadControls(
    const TIniFile& Settings, const QString& Section, QWidget& Window, const TControlFilter& CanReadControl)
{
    ForEachControl(Window, [&](QWidget* control, TControlKind kind) {
        if (CanReadControl(control))
            ReadControl(Settings, Section, control, kind);
    });
}
