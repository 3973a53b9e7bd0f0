#pragma once

#include <QString>
#include <string>

// The model keeps text as locale bytes with CR LF line breaks (what the files and the applet
// need); Qt widgets want QString with LF. Convert only at the widget boundary.
inline QString ToWidgetText(const std::string& modelText) {
    QString text = QString::fromLocal8Bit(modelText.data(), static_cast<qsizetype>(modelText.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

inline std::string FromWidgetText(const QString& widgetText) {
    QString text = widgetText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toLocal8Bit().toStdString();
}
