// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "model/AppletParameters.h"
#include "output/ParameterReader.h"

// The applet exactly as the menu applet would receive it from the model: the page the
// program writes, read back. Hidden menus and items, missing media and commas inside
// texts thus show as they will on the web. Media names lead back to the model's files.
// The model is not touched. No size cap: the page is the model's own.
kestrune::AppletReadResult AppletAsReceived(const kestrune::CAppletParameters& model);

// A page file's applet, its media taken from the page's folder.
kestrune::AppletReadResult ReadPageForPreview(const QString& pagePath);
