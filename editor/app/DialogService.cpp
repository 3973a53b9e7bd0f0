// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialogService.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

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
    QMessageBox box(ToQt(icon), QStringLiteral("Kestrune"), text, ToQt(buttons), parent);
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Cancel;
    }
}

QString QtDialogService::GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                         const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtDialogService::GetSaveFileName(QWidget* parent, const QString& caption, const QString& path,
                                         const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, path, filter);
}

std::optional<QColor> QtDialogService::GetColor(QWidget* parent, const QColor& initial) {
    QColorDialog dialog(initial, parent);
    // Keep the custom-colour part in view, as the chooser always opened fully.
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedColor();
}

int QtDialogService::ExecDialog(QDialog* dialog) {
    // Modal to its own window only, so the help window it may open stays usable.
    if (dialog->parentWidget()) dialog->setWindowModality(Qt::WindowModal);
    return dialog->exec();
}
