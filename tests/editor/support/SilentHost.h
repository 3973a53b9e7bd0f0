// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "services/DocumentHost.h"

// A document host for tests that drive saves and opens directly and ignore what they report.
class SilentHost : public kestrune::IDocumentHost {
public:
    void CommitPendingEdits() override {}
    void ReportMessage(const std::string&) override {}
    void SetModified(bool) override {}
};
