// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Shift+F1: the next click on a button, menu entry or window asks for its help topic.
// Escape, or a click on nothing that has a topic, ends the mode with the contents.
class CContextHelpMode : public QObject {
    Q_OBJECT
public:
    explicit CContextHelpMode(QObject* parent = nullptr);
    ~CContextHelpMode() override;

    void Begin();
    void Cancel();
    bool IsActive() const { return m_active; }

    // The topic of what lies at a point of a widget: a menu entry, a toolbar button's
    // command, or the widget itself or its nearest parent with a topic.
    static QString TopicAt(QWidget* widget, const QPoint& localPos);

signals:
    void activeChanged(bool active);
    void topicChosen(const QString& topic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void End();
    bool m_active = false;
};
