// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

class IDialogService;
namespace kestrune {
class CTemplateStore;
}
namespace Ui {
class DlgManageTemplates;
}

// "Manage Templates": Rename, Delete, Move Up, Move Down and Restore Built-in Templates
// act on the store at once;
// OK and closing only close the dialog.
class CDlgManageTemplates : public QDialog {
    Q_OBJECT
public:
    CDlgManageTemplates(kestrune::CTemplateStore& store, IDialogService& dialogs, QWidget* parent = nullptr);
    ~CDlgManageTemplates() override;

    Ui::DlgManageTemplates& Form() const { return *m_ui; }

public slots:
    void OnRename();
    void OnDelete();
    void OnMoveUp();
    void OnMoveDown();
    void OnRestoreBuiltIn();

private:
    void Refill();
    void OnSelectionChanged();
    void UpdateButtons();
    // The selected entry's name and position; false (after the message) when none is selected.
    bool TakeSelection(QString& name, int& position);
    void Move(bool up);

    std::unique_ptr<Ui::DlgManageTemplates> m_ui;
    kestrune::CTemplateStore& m_store;
    IDialogService& m_dialogs;
};
