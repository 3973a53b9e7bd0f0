// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>

namespace kestrune {

// How far a long read or write has come, and whether its user gave up on it. A worker
// thread advances it; the thread that shows it reads Fraction() and may Cancel() at any
// time. A worker that sees Cancelled() stops at the next safe point and reports failure.
class TaskProgress {
public:
    void SetTotal(std::uint64_t total) { m_total.store(total, std::memory_order_relaxed); }
    void SetDone(std::uint64_t done) { m_done.store(done, std::memory_order_relaxed); }
    void Cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool Cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

    // 0 before anything is known, 1 when all is done.
    double Fraction() const {
        const std::uint64_t total = m_total.load(std::memory_order_relaxed);
        const std::uint64_t done = m_done.load(std::memory_order_relaxed);
        if (total == 0) return 0.0;
        return done >= total ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
    }

private:
    std::atomic<std::uint64_t> m_total{0};
    std::atomic<std::uint64_t> m_done{0};
    std::atomic<bool> m_cancelled{false};
};

}  // namespace kestrune
