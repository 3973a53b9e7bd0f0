// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AppletParameters.h"
#include "output/ParameterReader.h"

namespace kestrune {

// The applet exactly as the menu applet would receive it from the model: the page the
// program writes, read back whole. Hidden menus and items, missing media and commas inside
// texts thus show as they will on the web; media names lead back to the model's files.
// The page is the model's own, bounded by the model, so no size cap of untrusted pages
// applies to it.
AppletReadResult ReadOwnPage(const CAppletParameters& model);

}  // namespace kestrune
