// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorMain.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <cstdio>

#include "app/DialogService.h"
#include "app/DisplayCheck.h"
#include "app/ProgramFolders.h"
#include "app/QSettingsStore.h"
#include "app/ShellTexts.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"

namespace {
struct EditorArguments {
    QString appDir;
    QString file;
};

EditorArguments ParseArguments(const QStringList& arguments) {
    EditorArguments parsed;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--app-dir") && i + 1 < arguments.size())
            parsed.appDir = arguments[++i];
        else if (parsed.file.isEmpty() && !arguments[i].startsWith(QLatin1Char('-')))
            parsed.file = arguments[i];
    }
    return parsed;
}
}  // namespace

int RunEditor(int argc, char** argv, const std::function<void()>& onceShown) {
    if (!HasDisplayFor(argc, argv)) {
        std::fprintf(stderr, "%s\n", shelltexts::kNoDisplay);
        return 1;
    }
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quellary"));
    QCoreApplication::setApplicationName(shelltexts::kAppTitle);
    // Ties the windows to kestrune.desktop (its icon and name in the desktop's task list).
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrune"));

    const EditorArguments arguments = ParseArguments(QCoreApplication::arguments());
    const ProgramFolders folders =
        FindProgramFolders(arguments.appDir.isEmpty() ? QCoreApplication::applicationDirPath() : arguments.appDir);

    QSettingsStore settings;
    if (!settings.Problem().isEmpty()) qWarning("%s", qPrintable(settings.Problem()));
    QtDialogService dialogs;
    CEditorShell shell(folders, dialogs, settings);
    // The first turn of the event loop comes once the window shows: a named document loads
    // after that.
    if (onceShown) QTimer::singleShot(0, &application, onceShown);
    // A document named on the command line that cannot be opened ends the program; its
    // message has been shown.
    shell.StartShown(arguments.file, [&application](bool started) {
        if (!started) QMetaObject::invokeMethod(&application, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    });
    QObject::connect(&shell.Frame(), &CMainFrame::closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    const int status = application.exec();
    shell.CleanUp();
    return status;
}
