// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/AppletParameters.h"
#include "model/ModelChange.h"
#include "model/ModelLimits.h"

namespace kestrune {

class CVoraneItem;
namespace received {
struct ReceivedState;
}

// The applet exactly as the menu applet receives it from the model's page (hidden menus
// and items left out, commas in texts splitting fields, media names leading back to the
// model's files), kept up to date edit by edit. After a whole read it remembers which
// received object each model menu and item became; an edit then encodes only what it
// touched, through the page's own encoder functions, reads that back through the page
// reader's own per-parameter functions, and patches the received tree in place. What
// cannot be patched locally (the applet's own fields, a media name two files share, a
// menu it does not know) is read whole again.
class ReceivedApplet {
public:
    enum class Outcome { Patched, Rebuilt, Failed };
    struct Update {
        Outcome outcome = Outcome::Failed;
        // The received top-level menus whose subtree changed; every one after a rebuild.
        std::vector<const CVorane*> changedTopMenus;
        bool appletFieldsChanged = false;  // size, background: the whole applet looks different
    };

    explicit ReceivedApplet(int maxDepth = kMaxMenuDepth);
    ~ReceivedApplet();
    ReceivedApplet(const ReceivedApplet&) = delete;
    ReceivedApplet& operator=(const ReceivedApplet&) = delete;

    // Reads the whole model. On failure the applet received before stays and Error() says why.
    Update Rebuild(const CAppletParameters& model);
    // Follows one edit the model has just had.
    Update Apply(const CAppletParameters& model, const ModelChange& change);

    // Null until a read succeeded.
    const CAppletParameters* Applet() const;
    const std::string& Error() const { return m_error; }
    // What the page reader would report about the page, in its order; the count without
    // walking the menus.
    std::vector<std::string> Warnings() const;
    std::size_t WarningCount() const;

    // The received object a model object became; null when the applet does not receive it.
    const CVorane* ReceivedMenu(const CVorane* model) const;
    const CVoraneItem* ReceivedItem(const CVoraneItem* model) const;

private:
    Update Patch(const CAppletParameters& model, const ModelChange& edit);

    int m_maxDepth;
    std::unique_ptr<received::ReceivedState> m_state;
    bool m_inStep = false;  // false after a failed read: the next edit reads whole
    std::string m_error;
};

}  // namespace kestrune
