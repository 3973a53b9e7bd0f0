// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

#include "app/DialogService.h"

// Answers every modal request from scripted queues and records what was asked.
class FakeDialogService : public IDialogService {
public:
    QStringList messages;
    std::deque<Answer> answers;            // default: Ok / Yes for the first button
    std::deque<QString> openFileNames;     // default: "" (cancelled)
    std::deque<QString> saveFileNames;     // default: "" (cancelled)
    std::deque<std::optional<QColor>> colors;
    // Called with each dialog instead of exec(); returns the result code (default: Rejected).
    std::function<int(QDialog*)> onDialog;
    QStringList dialogTitles;

    Answer ShowMessage(QWidget*, const QString& text, Buttons buttons, Icon) override {
        messages << text;
        if (!answers.empty()) {
            Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return Pop(openFileNames);
    }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return Pop(saveFileNames);
    }
    std::optional<QColor> GetColor(QWidget*, const QColor&) override {
        if (colors.empty()) return std::nullopt;
        auto color = colors.front();
        colors.pop_front();
        return color;
    }
    int ExecDialog(QDialog* dialog) override {
        dialogTitles << dialog->windowTitle();
        return onDialog ? onDialog(dialog) : QDialog::Rejected;
    }

private:
    static QString Pop(std::deque<QString>& queue) {
        if (queue.empty()) return {};
        QString value = queue.front();
        queue.pop_front();
        return value;
    }
};
