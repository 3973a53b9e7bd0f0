// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace kestrune::bench {

// The longest pause of the event loop while it runs, in milliseconds.
class PauseMeter {
public:
    PauseMeter() {
        m_ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, static_cast<double>(m_sinceTurn.nsecsElapsed()) / 1e6);
            m_sinceTurn.restart();
        });
    }
    void Start() {
        m_sinceTurn.start();
        m_ticker.start(1);
    }
    // Lets the event loop run on, so that what an end leaves queued (the message pane filling
    // with a report) is counted.
    void Stop() {
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        m_ticker.stop();
    }
    double Longest() const { return m_longest; }

    // Runs step(then) and turns the event loop until then has been told: the time the step's
    // call itself took goes to callMs, the time until then to wholeMs.
    template <typename Step>
    bool Measure(Step step, double& callMs, double& wholeMs) {
        std::optional<bool> outcome;
        QElapsedTimer call;
        Start();
        call.start();
        step([&outcome](bool wentThrough) { outcome = wentThrough; });
        callMs = static_cast<double>(call.nsecsElapsed()) / 1e6;
        while (!outcome) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        wholeMs = static_cast<double>(call.nsecsElapsed()) / 1e6;
        Stop();
        return *outcome;
    }

private:
    QTimer m_ticker;
    QElapsedTimer m_sinceTurn;
    double m_longest = 0;
};

}  // namespace kestrune::bench
