// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/WindowPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <charconv>
#include <vector>

namespace {
template <typename Number>
bool ParseNumber(std::string_view field, Number& value) {
    if (field.empty()) return false;
    const char* end = field.data() + field.size();
    auto [ptr, error] = std::from_chars(field.data(), end, value);
    return error == std::errc{} && ptr == end;
}
}  // namespace

std::optional<WindowPlacement> ParseWindowPlacement(const std::string& text) {
    std::vector<std::string_view> fields;
    std::string_view rest(text);
    while (true) {
        const auto comma = rest.find(',');
        fields.push_back(rest.substr(0, comma));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    if (fields.size() != 10) return std::nullopt;
    WindowPlacement placement;
    int* signedFields[] = {&placement.minX, &placement.minY, &placement.maxX, &placement.maxY,
                           &placement.left, &placement.top,  &placement.right, &placement.bottom};
    if (!ParseNumber(fields[0], placement.flags) || !ParseNumber(fields[1], placement.showState)) return std::nullopt;
    for (std::size_t i = 0; i < 8; ++i)
        if (!ParseNumber(fields[i + 2], *signedFields[i])) return std::nullopt;
    if (placement.right <= placement.left || placement.bottom <= placement.top) return std::nullopt;
    return placement;
}

std::string FormatWindowPlacement(const WindowPlacement& p) {
    std::string text;
    for (long long value : {static_cast<long long>(p.flags), static_cast<long long>(p.showState),
                            static_cast<long long>(p.minX), static_cast<long long>(p.minY),
                            static_cast<long long>(p.maxX), static_cast<long long>(p.maxY),
                            static_cast<long long>(p.left), static_cast<long long>(p.top),
                            static_cast<long long>(p.right), static_cast<long long>(p.bottom)}) {
        if (!text.empty()) text += ',';
        text += std::to_string(value);
    }
    return text;
}

WindowPlacement CaptureWindowPlacement(const QWidget& window) {
    WindowPlacement placement;
    if (window.isMaximized()) {
        placement.flags = WindowPlacement::kRestoreToMaximized;
        placement.showState = WindowPlacement::kShowMaximized;
    } else if (window.isMinimized()) {
        placement.showState = WindowPlacement::kShowMinimized;
    }
    const QRect normal = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.left() + normal.width();
    placement.bottom = normal.top() + normal.height();
    return placement;
}

QRect ClampToArea(const QRect& wanted, const QRect& area) {
    if (area.isEmpty()) return wanted;
    QRect rect(wanted.topLeft(), QSize(std::min(wanted.width(), area.width()), std::min(wanted.height(), area.height())));
    if (rect.right() > area.right()) rect.moveRight(area.right());
    if (rect.bottom() > area.bottom()) rect.moveBottom(area.bottom());
    if (rect.left() < area.left()) rect.moveLeft(area.left());
    if (rect.top() < area.top()) rect.moveTop(area.top());
    return rect;
}

QRect ClampToScreens(const QRect& wanted) {
    QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (!screen) screen = QGuiApplication::screenAt(wanted.topLeft());
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? ClampToArea(wanted, screen->availableGeometry()) : wanted;
}

void ShowWithPlacement(QWidget& window, const WindowPlacement& placement) {
    // A stored rectangle may come from another display, or from someone else: the window
    // never grows beyond the screen it lands on, nor starts out of sight.
    const QRect wanted(placement.left, placement.top, placement.right - placement.left,
                       placement.bottom - placement.top);
    window.setGeometry(ClampToScreens(wanted));
    switch (placement.showState) {
        case WindowPlacement::kShowMaximized: window.showMaximized(); break;
        case WindowPlacement::kShowMinimized: window.showMinimized(); break;
        default: window.show(); break;
    }
}
