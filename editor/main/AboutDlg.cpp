// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/AboutDlg.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/ShellTexts.h"
#include "help/HelpTopics.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(shelltexts::kAboutCaption);
    SetHelpTopic(this, helptopic::kAboutDialog);
    auto* picture = new QLabel(this);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/kestrune.png")).pixmap(32, 32));
    auto* version = new QLabel(shelltexts::kAboutVersion.arg(QStringLiteral(KESTRUNE_VERSION)), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    auto* copyright = new QLabel(shelltexts::kAboutCopyright, this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setHorizontalSpacing(14);
    layout->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(copyright, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    setFixedSize(sizeHint().expandedTo(QSize(320, 90)));
}
