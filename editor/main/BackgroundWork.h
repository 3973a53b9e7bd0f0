// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

class QProgressBar;
class QProgressDialog;
class QWidget;
namespace kestrune {
class TaskProgress;
}

// Runs one long read or write on a worker thread while the event loop goes on; what comes
// after it runs on the program's thread once it has ended. When the work lasts longer than
// a moment a modal progress dialog with Cancel shows.
class CBackgroundWork : public QObject {
    Q_OBJECT
public:
    explicit CBackgroundWork(QWidget* dialogParent);
    // A work still running is cancelled and waited for; what would have followed it does not run.
    ~CBackgroundWork() override;

    // Starts work(progress) on a worker thread; done() follows on this thread. The work must
    // touch nothing this thread changes meanwhile, and tells its own outcome (a Cancel may
    // come too late to stop it). False, starting nothing, while another work runs.
    bool Start(const QString& label, std::function<void(kestrune::TaskProgress&)> work, std::function<void()> done);
    bool IsRunning() const { return m_progress != nullptr; }
    // Asks the running work to stop; done() still follows once it has.
    void Cancel();

    // How far the last work came, 0 to 1, and whether it was cancelled.
    double LastFraction() const { return m_lastFraction; }
    bool LastCancelled() const { return m_lastCancelled; }

    // How long the work may run before the progress dialog shows (tests set 0).
    void SetDialogDelay(int milliseconds) { m_dialogDelay = milliseconds; }
    // Runs on the worker thread before each work: a test holds the worker there.
    void SetBeforeWork(std::function<void()> hook) { m_beforeWork = std::move(hook); }

signals:
    // On the program's thread, before the worker starts.
    void starting(kestrune::TaskProgress& progress);
    // On the program's thread while the worker runs, once the dialog has shown; a test
    // may look at the dialog and press Cancel.
    void dialogShown(QWidget* dialog);
    // A work began, or ended before what follows it runs.
    void runningChanged(bool running);

private:
    void ShowProgress(const QString& label);
    void FollowProgress();
    void Finish();

    QWidget* m_dialogParent;
    std::shared_ptr<kestrune::TaskProgress> m_progress;  // the running work's; null: none runs
    std::function<void()> m_done;
    std::unique_ptr<QProgressDialog> m_dialog;
    QProgressBar* m_bar = nullptr;  // the dialog's own
    QFutureWatcher<void> m_watcher;
    QTimer m_poll;
    bool m_announced = false;  // dialogShown was said for this work
    int m_dialogDelay = 300;
    double m_lastFraction = 0.0;
    bool m_lastCancelled = false;
    std::function<void()> m_beforeWork;
};
