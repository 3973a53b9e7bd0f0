// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

#include "services/PreviewLaunch.h"

class IDialogService;
namespace Ui {
class DlgWebBrowser;
}

// "Web Browser": how Preview and View Sample find a web browser. The radio buttons do not
// enable or disable the other controls; all stay usable whichever choice is made.
class CDlgWebBrowser : public QDialog {
    Q_OBJECT
public:
    // The positions of the three radio buttons.
    enum Choice { kUseDefault = 0, kKnownBrowser = 1, kSpecifiedBrowser = 2 };

    CDlgWebBrowser(IDialogService& dialogs, const QStringList& knownBrowserNames,
                   const kestrune::BrowserChoice& current, QWidget* parent = nullptr);
    ~CDlgWebBrowser() override;

    Choice SelectedChoice() const;
    int KnownBrowserPosition() const;  // -1 when no entry is selected
    QString BrowserPath() const;

    // The stored choice after an OK: the values not named by the chosen button keep
    // what `previous` held.
    kestrune::BrowserChoice ApplyTo(const kestrune::BrowserChoice& previous) const;

    void accept() override;

private:
    void ChooseProgram();

    IDialogService& m_dialogs;
    std::unique_ptr<Ui::DlgWebBrowser> m_ui;
};
