#pragma once

#include <QColor>
#include <QString>
#include <optional>
#include <string>

#include "model/Color.h"

// Conversions at the boundary between the model (locale bytes, CR LF labels, 0x00BBGGRR
// colours) and the widgets (QString, LF line breaks, QColor).
namespace kestrune::convert {

QString ToQt(const std::string& bytes);
std::string FromQt(const QString& text);

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
