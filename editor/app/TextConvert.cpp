// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TextConvert.h"

#include <QFile>
#include <QStringList>
#include <limits>

#include "base/Windows1252.h"

namespace kestrune::convert {

namespace {

void AppendCharacter(QString& text, char32_t character) {
    const char32_t units[1] = {character};
    text += QString::fromUcs4(units, 1);
}

QString Decode(const std::string& bytes, bool readWrittenReferences) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (readWrittenReferences && bytes[pos] == '&') {
            if (const auto reference = WrittenReferenceAt(bytes, pos)) {
                AppendCharacter(text, reference->character);
                pos += reference->length;
                continue;
            }
        }
        text += QChar(static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(bytes[pos]))));
        ++pos;
    }
    return text;
}

}  // namespace

QString ToQt(const std::string& bytes) { return Decode(bytes, true); }

std::string FromQt(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t character : text.toUcs4()) AppendWindows1252(bytes, character);
    return bytes;
}

QString SourceToQt(const std::string& bytes) { return Decode(bytes, false); }

QString PathToQt(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString LabelToWidget(const std::string& label) {
    return ToQt(label).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string LabelFromWidget(const QString& text) {
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(normalised);
}

QColor ToQColor(Color color) {
    const auto value = static_cast<std::uint32_t>(color);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

Color FromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<Color>(static_cast<std::uint32_t>(rgb.red()) |
                              (static_cast<std::uint32_t>(rgb.green()) << 8) |
                              (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

namespace {
bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
}  // namespace

std::optional<int> ParseInteger(const QString& text) {
    qsizetype pos = 0;
    const qsizetype end = text.size();
    while (pos < end && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < end && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+')))
        negative = text[pos++] == QLatin1Char('-');
    const qsizetype digitsStart = pos;
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    while (pos < end && IsDigit(text[pos])) {
        value = value * 10 + (text[pos++].unicode() - '0');
        if (value > limit) return std::nullopt;
    }
    if (pos == digitsStart) return std::nullopt;
    while (pos < end && IsBlank(text[pos])) ++pos;
    if (pos != end) return std::nullopt;
    return static_cast<int>(negative ? -value : value);
}

QString ToQtFileFilter(const char* barSeparated) {
    const QStringList parts = QString::fromLatin1(barSeparated).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString caption = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (caption.isEmpty() && patterns.isEmpty()) continue;
        filters << QStringLiteral("%1 (%2)").arg(caption, patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace kestrune::convert
