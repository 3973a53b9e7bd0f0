// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QDialog;
class QWidget;
namespace kestrune {
class ISettingsStore;
}

// Every modal message, question, chooser and dialog of the editor goes through this one
// interface, so tests replace it and never block on a modal window.
class IDialogService {
public:
    enum class Icon { Information, Warning, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~IDialogService() = default;
    virtual Answer ShowMessage(QWidget* parent, const QString& text, Buttons buttons = Buttons::Ok,
                               Icon icon = Icon::Warning) = 0;
    virtual QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                    const QString& filter) = 0;
    virtual QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& path,
                                    const QString& filter) = 0;
    // The colour chooser with its custom-colour part shown; nothing when cancelled.
    virtual std::optional<QColor> GetColor(QWidget* parent, const QColor& initial) = 0;
    // Runs one of the program's own dialogs modally and returns its result code.
    virtual int ExecDialog(QDialog* dialog) = 0;
};

// The real thing: QMessageBox, QFileDialog, QColorDialog, QDialog::exec.
class QtDialogService : public IDialogService {
public:
    // settings, when given, keeps the colour chooser's custom colours from one run to the next.
    explicit QtDialogService(kestrune::ISettingsStore* settings = nullptr) : m_settings(settings) {}
    Answer ShowMessage(QWidget* parent, const QString& text, Buttons buttons, Icon icon) override;
    QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                            const QString& filter) override;
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& path,
                            const QString& filter) override;
    std::optional<QColor> GetColor(QWidget* parent, const QColor& initial) override;
    int ExecDialog(QDialog* dialog) override;

private:
    kestrune::ISettingsStore* m_settings;
};

// The chooser's custom colours, as the settings keep them; entries not stored stay as they are.
void LoadCustomColors(const kestrune::ISettingsStore& settings);
void SaveCustomColors(kestrune::ISettingsStore& settings);
