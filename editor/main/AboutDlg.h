// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// "About Kestrune": the program's picture, name and version, copyright and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
