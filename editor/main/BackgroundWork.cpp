// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/BackgroundWork.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>

#include "app/ShellTexts.h"
#include "base/TaskProgress.h"

namespace {

// The bar's resolution, and how often it follows the worker.
constexpr int kBarSteps = 1000;
constexpr int kPollMilliseconds = 40;

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

}  // namespace

CBackgroundWork::CBackgroundWork(QWidget* dialogParent) : m_dialogParent(dialogParent) {}

CBackgroundWork::~CBackgroundWork() = default;

void CBackgroundWork::Cancel() {
    if (m_progress) m_progress->Cancel();
}

bool CBackgroundWork::Run(const QString& label, const std::function<void(kestrune::TaskProgress&)>& work) {
    if (m_progress) return false;
    kestrune::TaskProgress progress;
    m_progress = &progress;
    emit starting(progress);

    // No steps are known before the worker counts any: the bar moves without a measure.
    QProgressDialog dialog(label, QString(), 0, 0, m_dialogParent);
    auto* cancelButton = new QPushButton(shelltexts::kCancelWork, &dialog);
    dialog.setCancelButton(cancelButton);
    dialog.setWindowTitle(shelltexts::kAppTitle);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // The dialog stays up after a Cancel until the worker has stopped.
    QObject::disconnect(&dialog, SIGNAL(canceled()), &dialog, SLOT(cancel()));
    const auto cancel = [&] {
        progress.Cancel();
        cancelButton->setEnabled(false);
    };
    connect(&dialog, &QProgressDialog::canceled, &dialog, cancel);
    connect(&dialog, &QDialog::rejected, &dialog, cancel);
    dialog.setMinimumDuration(m_dialogDelay);
    dialog.setValue(0);  // starts the wait before the dialog shows
    m_dialog = &dialog;
    qApp->installEventFilter(this);

    QEventLoop loop;
    std::atomic<bool> finished{false};
    QTimer poll;
    bool announced = false;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        const double fraction = progress.Fraction();
        if (fraction > 0.0) {
            if (dialog.maximum() == 0) dialog.setRange(0, kBarSteps);
            dialog.setValue(static_cast<int>(fraction * kBarSteps));
        }
        if (dialog.isVisible() && !announced) {
            announced = true;
            emit dialogShown(&dialog);
        }
    });
    poll.start(kPollMilliseconds);
    std::exception_ptr failure;
    std::thread worker([&] {
        if (m_beforeWork) m_beforeWork();
        // What the work throws (memory running out) is thrown on again here, as before.
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    if (!finished) loop.exec();
    // The loop also ends when the program quits: the work then stops at its next chance.
    if (!finished) progress.Cancel();
    worker.join();

    poll.stop();
    qApp->removeEventFilter(this);
    m_dialog = nullptr;
    m_progress = nullptr;
    m_lastFraction = progress.Fraction();
    m_lastCancelled = progress.Cancelled();
    dialog.hide();
    if (failure) std::rethrow_exception(failure);
    return true;
}

bool CBackgroundWork::eventFilter(QObject* watched, QEvent* event) {
    // A shortcut would reach its command even with its key press held back.
    if (event->type() == QEvent::Shortcut) return true;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (!IsUserInput(event->type()) || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const bool inDialog = m_dialog && (widget == m_dialog || m_dialog->isAncestorOf(widget));
    return !inDialog;
}
