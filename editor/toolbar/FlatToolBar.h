// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolBar>
#include <vector>

// The main window's toolbar: flat buttons that rise under the pointer, a gripper of two
// raised bars at the leading edge (none while floating) and etched separator lines.
class CFlatToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CFlatToolBar(const QString& title, QWidget* parent = nullptr);

    // After the buttons' enabled and on/off states were updated: when any button changed,
    // the bar and the window area behind it are repainted once. Returns whether it did.
    bool SyncButtonStates();

protected:
    void actionEvent(QActionEvent* event) override;

private:
    struct ButtonState {
        const QAction* action;
        bool enabled;
        bool checked;
        bool operator==(const ButtonState&) const = default;
    };
    std::vector<ButtonState> CurrentStates() const;

    std::vector<ButtonState> m_savedStates;
    QStyle* m_flatStyle = nullptr;
};
