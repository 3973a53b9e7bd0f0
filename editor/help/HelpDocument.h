// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <vector>

// The help document: one HTML file with an anchor per topic. This reads its topics, its
// contents list and its keyword index, and finds topics by words.
class CHelpDocument {
public:
    struct Topic {
        QString anchor;
        QString title;
        QString plainText;
    };
    struct Link {
        QString text;
        QString anchor;  // empty for a group heading of the contents
    };

    bool Load(const QString& path);
    void SetHtml(const QString& html);

    const QString& Html() const { return m_html; }
    const std::vector<Topic>& Topics() const { return m_topics; }
    const QList<Link>& Contents() const { return m_contents; }
    const QList<Link>& Index() const { return m_index; }
    bool HasTopic(const QString& anchor) const;
    QString TitleOf(const QString& anchor) const;
    // Topics whose text holds every word of the query, letter case ignored, in document order.
    QList<Link> Search(const QString& query) const;

private:
    QString m_html;
    std::vector<Topic> m_topics;
    QList<Link> m_contents;
    QList<Link> m_index;
};
