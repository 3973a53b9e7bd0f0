// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kestrune {
class CAppletParameters;
}

// The items whose image is larger than the item, where it covers the label and is cut:
// a line each (empty when none), shown below the check report.
QString OversizedImageLines(const kestrune::CAppletParameters& applet);
