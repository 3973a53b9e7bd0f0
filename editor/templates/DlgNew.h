// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QHash>
#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IDialogService;
namespace kestrune {
class CAppletParameters;
}
namespace Ui {
class DlgNew;
}

// "New Vorane": the template a new document starts from. No Cancel button; closing the
// window cancels.
class CDlgNew : public QDialog {
    Q_OBJECT
public:
    // Fills an applet with the template at a position; false when it could not.
    using TemplateLoader = std::function<bool(int position, kestrune::CAppletParameters& applet)>;

    // loadTemplate, when given, lets the dialog show a picture of the selected template's menus.
    CDlgNew(const std::vector<std::string>& templateNames, IDialogService& dialogs, QWidget* parent = nullptr,
            TemplateLoader loadTemplate = {});
    ~CDlgNew() override;

    // The position confirmed with OK; -1 when OK was pressed with nothing selected.
    int ChosenPosition() const { return m_chosenPosition; }
    Ui::DlgNew& Form() const { return *m_ui; }

public slots:
    void accept() override;

private:
    void ShowPicture(int position);

    std::unique_ptr<Ui::DlgNew> m_ui;
    TemplateLoader m_loadTemplate;
    QHash<int, QImage> m_pictures;  // drawn once per position while the dialog is open
    IDialogService& m_dialogs;
    int m_chosenPosition = 0;
};
