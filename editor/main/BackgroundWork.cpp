// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/BackgroundWork.h"

#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>
#include <utility>

#include "app/ShellTexts.h"
#include "base/TaskProgress.h"

namespace {
// The bar's resolution, and how often it follows the worker.
constexpr int kBarSteps = 1000;
constexpr int kPollMilliseconds = 40;
}  // namespace

CBackgroundWork::CBackgroundWork(QWidget* dialogParent) : m_dialogParent(dialogParent) {
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, &CBackgroundWork::Finish);
    connect(&m_poll, &QTimer::timeout, this, &CBackgroundWork::FollowProgress);
}

CBackgroundWork::~CBackgroundWork() {
    if (!m_progress) return;
    m_progress->Cancel();
    m_watcher.disconnect(this);
    try {
        m_watcher.waitForFinished();
    } catch (...) {  // nobody is left to tell
    }
}

void CBackgroundWork::Cancel() {
    if (m_progress) m_progress->Cancel();
}

bool CBackgroundWork::Start(const QString& label, std::function<void(kestrune::TaskProgress&)> work,
                            std::function<void()> done) {
    if (m_progress) return false;
    m_progress = std::make_shared<kestrune::TaskProgress>();
    m_done = std::move(done);
    emit starting(*m_progress);
    ShowProgress(label);
    emit runningChanged(true);
    // What the work throws (memory running out) is thrown again where it ends.
    m_watcher.setFuture(QtConcurrent::run([progress = m_progress, work = std::move(work), before = m_beforeWork] {
        if (before) before();
        work(*progress);
    }));
    return true;
}

void CBackgroundWork::ShowProgress(const QString& label) {
    m_dialog = std::make_unique<QProgressDialog>(label, QString(), 0, 0, m_dialogParent);
    // The bar is set directly: the dialog's own setValue turns the event loop when modal.
    m_bar = new QProgressBar(m_dialog.get());
    // No steps are known before the worker counts any: the bar moves without a measure.
    m_bar->setRange(0, 0);
    m_dialog->setBar(m_bar);
    auto* cancelButton = new QPushButton(shelltexts::kCancelWork, m_dialog.get());
    m_dialog->setCancelButton(cancelButton);
    m_dialog->setWindowTitle(shelltexts::kAppTitle);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    // The dialog stays up after a Cancel until the worker has stopped.
    QObject::disconnect(m_dialog.get(), SIGNAL(canceled()), m_dialog.get(), SLOT(cancel()));
    const auto cancel = [this, cancelButton] {
        Cancel();
        cancelButton->setEnabled(false);
    };
    connect(m_dialog.get(), &QProgressDialog::canceled, this, cancel);
    connect(m_dialog.get(), &QDialog::rejected, this, cancel);
    m_dialog->setMinimumDuration(m_dialogDelay);
    m_dialog->setValue(0);  // starts the wait before the dialog shows
    m_announced = false;
    m_poll.start(kPollMilliseconds);
}

void CBackgroundWork::FollowProgress() {
    const double fraction = m_progress->Fraction();
    if (fraction > 0.0) {
        if (m_bar->maximum() == 0) m_bar->setRange(0, kBarSteps);
        m_bar->setValue(static_cast<int>(fraction * kBarSteps));
    }
    if (m_dialog->isVisible() && !m_announced) {
        m_announced = true;
        emit dialogShown(m_dialog.get());
    }
}

void CBackgroundWork::Finish() {
    m_poll.stop();
    m_dialog.reset();
    m_lastFraction = m_progress->Fraction();
    m_lastCancelled = m_progress->Cancelled();
    m_progress.reset();
    const std::function<void()> done = std::exchange(m_done, nullptr);
    emit runningChanged(false);
    m_watcher.waitForFinished();  // throws what the work threw
    done();
}
