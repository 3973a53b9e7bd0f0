// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <utility>

class QWidget;
namespace kestrune {
class TaskProgress;
}

// Runs one long read or write on a worker thread while the program stays responsive: the
// caller waits in a local event loop, so it still gets its result in sequence. When the
// work lasts longer than a moment a modal progress dialog with Cancel appears; until then
// user input is held back, so no command can change or replace the document meanwhile.
class CBackgroundWork : public QObject {
    Q_OBJECT
public:
    explicit CBackgroundWork(QWidget* dialogParent);
    ~CBackgroundWork() override;

    // Runs work(progress) on a worker thread and returns when it has ended. The work must
    // touch nothing the program's thread uses meanwhile, and tells its own outcome (a Cancel
    // may come too late to stop it). False, without running it, while another work runs.
    bool Run(const QString& label, const std::function<void(kestrune::TaskProgress&)>& work);
    bool IsRunning() const { return m_progress != nullptr; }
    // Asks the running work to stop; Run returns once it has.
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
    // On the program's thread while the worker runs, after the dialog was set up and
    // shown (when it shows); a test may look at the dialog and press Cancel.
    void dialogShown(QWidget* dialog);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* m_dialogParent;
    QWidget* m_dialog = nullptr;
    kestrune::TaskProgress* m_progress = nullptr;
    int m_dialogDelay = 300;
    double m_lastFraction = 0.0;
    bool m_lastCancelled = false;
    std::function<void()> m_beforeWork;
};
