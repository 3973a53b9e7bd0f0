// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrune {

// What the document operations need from whoever runs them: the editor's document and
// property frame, the headless command line, or a test.
class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    // Writes pending edits of the active property page into the model.
    virtual void CommitPendingEdits() = 0;
    // Shows a failure to the user (a message box in the editor).
    virtual void ReportMessage(const std::string& text) = 0;
    virtual void SetModified(bool modified) = 0;
};

}  // namespace kestrune
