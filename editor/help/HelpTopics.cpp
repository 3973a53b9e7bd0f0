// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpTopics.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr const char* kHelpTopicProperty = "helpTopic";
}

void SetHelpTopic(QObject* object, const QString& topic) {
    if (object) object->setProperty(kHelpTopicProperty, topic);
}

void SetHelpTopic(QObject* object, int contextNumber) { SetHelpTopic(object, QString::number(contextNumber)); }

QString HelpTopicOf(const QObject* object) {
    for (const QObject* current = object; current; current = current->parent()) {
        const QString topic = current->property(kHelpTopicProperty).toString();
        if (!topic.isEmpty()) return topic;
    }
    return {};
}
