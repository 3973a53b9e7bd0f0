// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "services/KnownBrowsers.h"
#include "services/PreviewLaunch.h"

class IProgramLauncher;

// Kestrune's own Menu Preview as a choice of the Web Browser dialog: an entry of the
// known-browser list whose program is this program itself.
namespace menuviewer {

kestrune::KnownBrowser BrowserEntry();
bool IsForViewer(const kestrune::LaunchRequest& request);

// Carries out a launch of the launch rule: a page meant for the viewer opens in a Menu
// Preview window (a page without a readable applet goes to the desktop's default
// program instead); everything else goes to the launcher.
bool Launch(IProgramLauncher& launcher, const kestrune::LaunchRequest& request);

}  // namespace menuviewer
