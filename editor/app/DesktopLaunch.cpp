#include "app/DesktopLaunch.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "output/PreviewLaunch.h"

void LaunchDesktop(const kestrune::LaunchRequest& request) {
    const QString target = QString::fromLocal8Bit(request.target);
    if (request.kind == kestrune::LaunchRequest::OpenDocument) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(target));
        return;
    }
    QProcess::startDetached(target, {QString::fromLocal8Bit(request.argument)},
                            QString::fromLocal8Bit(request.workingFolder));
}
