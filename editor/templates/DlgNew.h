// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class IDialogService;
namespace Ui {
class DlgNew;
}

// "New Vorane": the template a new document starts from. No Cancel button; closing the
// window cancels.
class CDlgNew : public QDialog {
    Q_OBJECT
public:
    CDlgNew(const std::vector<std::string>& templateNames, IDialogService& dialogs, QWidget* parent = nullptr);
    ~CDlgNew() override;

    // The position confirmed with OK; -1 when OK was pressed with nothing selected.
    int ChosenPosition() const { return m_chosenPosition; }
    Ui::DlgNew& Form() const { return *m_ui; }

public slots:
    void accept() override;

private:
    std::unique_ptr<Ui::DlgNew> m_ui;
    IDialogService& m_dialogs;
    int m_chosenPosition = 0;
};
