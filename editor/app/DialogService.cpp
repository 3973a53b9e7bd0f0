// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "app/ShellTexts.h"
#include "base/SettingsStore.h"

namespace {
QMessageBox::Icon ToQt(IDialogService::Icon icon) {
    switch (icon) {
        case IDialogService::Icon::Information: return QMessageBox::Information;
        case IDialogService::Icon::Critical: return QMessageBox::Critical;
        case IDialogService::Icon::Question: return QMessageBox::Question;
        case IDialogService::Icon::Warning: break;
    }
    return QMessageBox::Warning;
}

// While alive, a modal window takes the keyboard once it shows; at the end the keyboard goes
// back to the box that had it, in its own window. Window managers do neither for a dialog
// opened from a tool window such as the property frame.
class FocusHandOver {
public:
    explicit FocusHandOver(QWidget* dialog) : m_before(QApplication::focusWidget()) {
        if (dialog) TakeFocusWhenShown(dialog);
    }
    ~FocusHandOver() {
        if (!m_before) return;
        QWidget* window = m_before->window();
        window->raise();
        window->activateWindow();
        m_before->setFocus(Qt::OtherFocusReason);
    }
    FocusHandOver(const FocusHandOver&) = delete;
    FocusHandOver& operator=(const FocusHandOver&) = delete;

    // Asked again once the window manager has mapped the window, which it may do later.
    static void TakeFocusWhenShown(QWidget* dialog) {
        for (int delay : {0, 100, 300})
            QTimer::singleShot(delay, dialog, [dialog] {
                dialog->raise();
                dialog->activateWindow();
            });
    }

private:
    QPointer<QWidget> m_before;
};

// A report taller than the screen would push the box's buttons out of reach: as much of
// its head shows as fits, and the whole text scrolls under Show Details. The box knows its
// size only once it shows.
class ScreenFittedMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QScreen* shownOn = screen();
        if (!shownOn) return;
        const int room = shownOn->availableGeometry().height() * 3 / 4;
        if (height() <= room) return;
        const QString whole = text();
        setDetailedText(whole);
        QStringList head = whole.split(QLatin1Char('\n'));
        while (head.size() > 1 && height() > room) {
            head.resize(head.size() / 2);
            setText(head.join(QLatin1Char('\n')) + QLatin1Char('\n') + shelltexts::kMessageGoesOn);
        }
        const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
        QRect placed = geometry();
        placed.moveCenter(over ? over->geometry().center() : shownOn->availableGeometry().center());
        move(placed.topLeft());
    }
};

QMessageBox::StandardButtons ToQt(IDialogService::Buttons buttons) {
    switch (buttons) {
        case IDialogService::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case IDialogService::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case IDialogService::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case IDialogService::Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}
}  // namespace

IDialogService::Answer QtDialogService::ShowMessage(QWidget* parent, const QString& text,
                                                    Buttons buttons, Icon icon) {
    ScreenFittedMessageBox box(ToQt(icon), shelltexts::kAppTitle, text, ToQt(buttons), parent);
    const FocusHandOver focus(&box);
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Cancel;
    }
}

QString QtDialogService::GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                         const QString& filter) {
    const FocusHandOver focus(nullptr);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtDialogService::GetSaveFileName(QWidget* parent, const QString& caption, const QString& path,
                                         const QString& filter) {
    const FocusHandOver focus(nullptr);
    return QFileDialog::getSaveFileName(parent, caption, path, filter);
}

void LoadCustomColors(const kestrune::ISettingsStore& settings) {
    const QStringList names = QString::fromStdString(
        settings.GetString(shelltexts::kSettingsSection, shelltexts::kCustomColorsKey)).split(QLatin1Char(','));
    for (int i = 0; i < std::min<int>(int(names.size()), QColorDialog::customCount()); ++i)
        if (const QColor color = QColor::fromString(names[i].trimmed()); color.isValid())
            QColorDialog::setCustomColor(i, color);
}

void SaveCustomColors(kestrune::ISettingsStore& settings) {
    QStringList names;
    for (int i = 0; i < QColorDialog::customCount(); ++i) names << QColorDialog::customColor(i).name();
    settings.SetString(shelltexts::kSettingsSection, shelltexts::kCustomColorsKey,
                       names.join(QLatin1Char(',')).toStdString());
}

std::optional<QColor> QtDialogService::GetColor(QWidget* parent, const QColor& initial) {
    if (m_settings) LoadCustomColors(*m_settings);
    QColorDialog dialog(initial, parent);
    // Keep the custom-colour part in view, as the chooser always opened fully.
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    const FocusHandOver focus(&dialog);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // Custom colours defined and then cancelled are kept all the same, as the chooser does.
    if (m_settings) SaveCustomColors(*m_settings);
    if (!accepted) return std::nullopt;
    return dialog.selectedColor();
}

int QtDialogService::ExecDialog(QDialog* dialog) {
    // Modal to its own window only, so the help window it may open stays usable.
    if (dialog->parentWidget()) dialog->setWindowModality(Qt::WindowModal);
    const FocusHandOver focus(dialog);
    return dialog->exec();
}
