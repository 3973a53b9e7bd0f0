// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "services/ParameterCheck.h"

class CKestruneDoc;

// Gives the applet a size as one undoable step named text, touching only the applet's own
// fields; false when it had that size already.
bool SetAppletSize(CKestruneDoc& doc, kestrune::AppletSize size, const QString& text);

// Fit Applet Size: the size that shows every visible menu whole.
bool FitAppletToMenus(CKestruneDoc& doc);
