// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <optional>
#include <string>

#include "model/Color.h"

// Conversions at the boundary between the model (Windows-1252 bytes, CR LF labels,
// 0x00BBGGRR colours) and the widgets (QString, LF line breaks, QColor).
namespace kestrune::convert {

// Model text: Windows-1252, whatever the locale; a character the code page cannot hold
// is kept as "&#9733;" in the model and shown as the character.
QString ToQt(const std::string& bytes);
std::string FromQt(const QString& text);

// Page source as written, references left as they are (the HTML dialog shows them).
QString SourceToQt(const std::string& bytes);

// Media paths name files, so they keep the file system's own spelling.
QString PathToQt(const std::string& path);
std::string PathFromQt(const QString& path);

// Item labels keep CR LF in the model; text widgets break lines with LF.
QString LabelToWidget(const std::string& label);
std::string LabelFromWidget(const QString& text);

QColor ToQColor(Color color);
Color FromQColor(const QColor& color);

// Optional blanks or tabs, an optional sign, decimal digits, optional blanks or tabs.
// Anything else, an empty text, or a value outside the 32-bit range gives nothing.
std::optional<int> ParseInteger(const QString& text);

// "Caption | *.a;*.b ||" into the "Caption (*.a *.b)" form of Qt's file choosers.
QString ToQtFileFilter(const char* barSeparated);

}  // namespace kestrune::convert
