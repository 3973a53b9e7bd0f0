// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class IDialogService;
namespace Ui {
class DlgSaveAsTemplate;
}

// "Save As Template": a name for the current document as a template and its place in the list.
class CDlgSaveAsTemplate : public QDialog {
    Q_OBJECT
public:
    CDlgSaveAsTemplate(const std::vector<std::string>& templateNames, IDialogService& dialogs,
                       QWidget* parent = nullptr);
    ~CDlgSaveAsTemplate() override;

    QString TemplateName() const { return m_name; }
    int InsertPosition() const { return m_insertPosition; }
    Ui::DlgSaveAsTemplate& Form() const { return *m_ui; }

public slots:
    // Stays open with a message while the name breaks a rule.
    void accept() override;

private:
    std::unique_ptr<Ui::DlgSaveAsTemplate> m_ui;
    IDialogService& m_dialogs;
    std::vector<std::string> m_names;
    QString m_name;
    int m_insertPosition = 0;
};
