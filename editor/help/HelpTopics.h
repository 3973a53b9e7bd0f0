// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QObject;

// Places in the help document, by anchor. Numbered anchors are the context numbers of
// the sheets, pages and dialogs; the others name sections of the shell.
namespace helptopic {
inline const QString kContents = QStringLiteral("contents");
inline const QString kIndex = QStringLiteral("index");
inline const QString kGettingStarted = QStringLiteral("65657");
inline const QString kFaq = QStringLiteral("65658");
inline const QString kMainWindow = QStringLiteral("mainwindow");
inline const QString kMenuTree = QStringLiteral("menutree");
inline const QString kMessagePane = QStringLiteral("messagepane");
inline const QString kToolbar = QStringLiteral("toolbar");
inline const QString kStatusBar = QStringLiteral("statusbar");
inline const QString kKeys = QStringLiteral("keys");
inline const QString kNewDialog = QStringLiteral("newvoranedialog");
inline const QString kSaveAsTemplateDialog = QStringLiteral("saveastemplatedialog");
inline const QString kManageTemplatesDialog = QStringLiteral("managetemplatesdialog");
inline const QString kHtmlDialog = QStringLiteral("htmldialog");
inline const QString kAboutDialog = QStringLiteral("aboutdialog");
}  // namespace helptopic

// A window, dialog, page or command carries its help topic; F1 and the context help
// mode look it up on the object or, for widgets, on the nearest parent that has one.
void SetHelpTopic(QObject* object, const QString& topic);
void SetHelpTopic(QObject* object, int contextNumber);
QString HelpTopicOf(const QObject* object);
