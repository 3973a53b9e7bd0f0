// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

#include "properties/MediaDialogScope.h"

class IDialogService;
class QLineEdit;
class QRadioButton;

// The shared body of the "Image" and "Audio" dialogs: one path row per state, each
// with its box and "..." button, the "Apply to" choice, and OK, Cancel and Help.
class CDlgMedia : public QDialog {
    Q_OBJECT
public:
    // A scope of ApplyScope::None selects no "Apply to" button.
    // Where the choosers start when a box names no existing folder.
    void SetStartFolder(const QString& folder) { m_startFolder = folder; }
    void SetValues(const QStringList& paths, ApplyScope scope);
    // The values of the last successful OK.
    const std::vector<std::string>& Paths() const { return m_paths; }
    ApplyScope Scope() const { return m_scope; }

    QLineEdit* PathBox(int row) const { return m_boxes.at(static_cast<std::size_t>(row)); }
    QPushButton* BrowseButton(int row) const { return m_browseButtons.at(static_cast<std::size_t>(row)); }
    QRadioButton* ScopeButton(ApplyScope scope) const;
    QPushButton* HelpButton() const { return m_helpButton; }

    void accept() override;

signals:
    void helpRequested(const QString& topic);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    CDlgMedia(IDialogService& dialogs, const char* title, const std::vector<const char*>& rowLabels,
              const char* filter, const char* helpTopic, QWidget* parent);

private:
    QString m_startFolder;
    void BuildLayout(const std::vector<const char*>& rowLabels);
    void Browse(int row);

    IDialogService& m_dialogs;
    const char* m_filter;
    QString m_helpTopic;
    std::vector<QLineEdit*> m_boxes;
    std::vector<QPushButton*> m_browseButtons;
    std::vector<QRadioButton*> m_scopeButtons;
    QPushButton* m_helpButton = nullptr;
    std::vector<std::string> m_paths;
    ApplyScope m_scope = ApplyScope::None;
};

// "Image": the normal, mouse-over and click pictures of an item.
class CDlgImage : public CDlgMedia {
    Q_OBJECT
public:
    explicit CDlgImage(IDialogService& dialogs, QWidget* parent = nullptr);
};

// "Audio": the mouse-over and click sounds of an item.
class CDlgAudio : public CDlgMedia {
    Q_OBJECT
public:
    explicit CDlgAudio(IDialogService& dialogs, QWidget* parent = nullptr);
};
