// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtTest>
#include <memory>
#include <optional>

#include "main/DocumentFlow.h"

// Open and Save tell their outcome once their worker has ended: these wait for it with the
// event loop turning, as the program would.

// Runs step(then) and returns what then was given; a step that never ends fails the test.
template <typename Step>
bool Await(Step step) {
    auto outcome = std::make_shared<std::optional<bool>>();
    step(CDocumentFlow::Then([outcome](bool wentThrough) { *outcome = wentThrough; }));
    if (!QTest::qWaitFor([&] { return outcome->has_value(); }, 60000))
        QTest::qFail("the step never ended", __FILE__, __LINE__);
    return outcome->value_or(false);
}

inline bool Saved(CDocumentFlow& flow, bool saveAs) {
    return Await([&](const CDocumentFlow::Then& then) { flow.Save(saveAs, then); });
}

inline bool Opened(CDocumentFlow& flow, const QString& path) {
    return Await([&](const CDocumentFlow::Then& then) { flow.OpenDocumentFile(path, then); });
}

// After a command that may have started an Open or Save: waits until none runs.
inline void Settle(CDocumentFlow& flow) {
    if (!QTest::qWaitFor([&] { return !flow.IsWorking(); }, 60000))
        QTest::qFail("the work never ended", __FILE__, __LINE__);
}
