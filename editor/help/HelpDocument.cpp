// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpDocument.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include "help/HelpTopics.h"

namespace {
QString PlainText(const QString& html) { return QTextDocumentFragment::fromHtml(html).toPlainText().simplified(); }

QList<CHelpDocument::Link> LinksIn(const QString& html, bool withGroups) {
    static const QRegularExpression pattern(
        QStringLiteral(R"re(<p>\s*<b>(.*?)</b>\s*</p>|<a href="#([^"]+)">(.*?)</a>)re"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    QList<CHelpDocument::Link> links;
    for (const auto& match : pattern.globalMatch(html)) {
        if (!match.captured(2).isEmpty())
            links.append({PlainText(match.captured(3)), match.captured(2)});
        else if (withGroups)
            links.append({PlainText(match.captured(1)), QString()});
    }
    return links;
}
}  // namespace

bool CHelpDocument::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetHtml(QString());
        return false;
    }
    SetHtml(QString::fromUtf8(file.readAll()));
    return true;
}

void CHelpDocument::SetHtml(const QString& html) {
    m_html = html;
    m_topics.clear();
    m_contents.clear();
    m_index.clear();

    static const QRegularExpression anchor(QStringLiteral(R"re(<a name="([^"]+)">\s*</a>)re"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression heading(QStringLiteral(R"re(<h[1-4][^>]*>(.*?)</h[1-4]>)re"),
                                            QRegularExpression::DotMatchesEverythingOption |
                                                QRegularExpression::CaseInsensitiveOption);
    QList<QRegularExpressionMatch> anchors;
    for (const auto& match : anchor.globalMatch(html)) anchors.append(match);
    for (qsizetype i = 0; i < anchors.size(); ++i) {
        const qsizetype begin = anchors[i].capturedEnd();
        const qsizetype end = i + 1 < anchors.size() ? anchors[i + 1].capturedStart() : html.size();
        const QString section = html.mid(begin, end - begin);
        const auto title = heading.match(section);
        Topic topic{anchors[i].captured(1), title.hasMatch() ? PlainText(title.captured(1)) : anchors[i].captured(1),
                    PlainText(section)};
        if (topic.anchor == helptopic::kContents) m_contents = LinksIn(section, true);
        if (topic.anchor == helptopic::kIndex) m_index = LinksIn(section, false);
        m_topics.push_back(std::move(topic));
    }
}

bool CHelpDocument::HasTopic(const QString& anchor) const {
    return std::any_of(m_topics.begin(), m_topics.end(), [&](const Topic& topic) { return topic.anchor == anchor; });
}

QString CHelpDocument::TitleOf(const QString& anchor) const {
    for (const Topic& topic : m_topics)
        if (topic.anchor == anchor) return topic.title;
    return {};
}

QList<CHelpDocument::Link> CHelpDocument::Search(const QString& query) const {
    const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<Link> found;
    if (words.isEmpty()) return found;
    for (const Topic& topic : m_topics) {
        if (topic.anchor == helptopic::kContents || topic.anchor == helptopic::kIndex) continue;
        const bool all = std::all_of(words.begin(), words.end(), [&](const QString& word) {
            return topic.plainText.contains(word, Qt::CaseInsensitive);
        });
        if (all) found.append({topic.title, topic.anchor});
    }
    return found;
}
