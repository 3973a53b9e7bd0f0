// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/MenuPreviewWidget.h"

#include <QMouseEvent>
#include <algorithm>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include "model/VoraneItem.h"
#include "preview/PreviewTexts.h"
#include "app/TextConvert.h"

using namespace kestrune;

namespace {
const QColor kCanvasColor(0xd4, 0xd8, 0xde);
const QColor kOutsideHatch(0x55, 0x5c, 0x66, 0x90);
const QColor kAppletOutline(0x30, 0x36, 0x40);

QString Local(const std::string& text) { return convert::ToQt(text); }
QString LocalPath(const std::string& path) { return convert::PathToQt(path); }
}  // namespace

CMenuPreviewWidget::CMenuPreviewWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_closeTimer.setSingleShot(true);
    connect(&m_closeTimer, &QTimer::timeout, this, &CMenuPreviewWidget::CloseMenus);
    UpdateCanvas();
}

CMenuPreviewWidget::~CMenuPreviewWidget() = default;

void CMenuPreviewWidget::SetApplet(std::unique_ptr<CAppletParameters> applet) {
    const MenuPath path = m_layout.Path();
    m_ownApplet = std::move(applet);
    m_applet = m_ownApplet.get();
    m_menuExtents.clear();
    Shown(path);
}

void CMenuPreviewWidget::ShowApplet(const CAppletParameters* applet,
                                    const std::vector<const CVorane*>& changedTopMenus, bool whole,
                                    bool repaintAll) {
    const MenuPath path = m_layout.Path();
    const bool pressed = m_pressed;
    const QRect extent = m_extent;
    if (applet != m_applet || whole) m_menuExtents.clear();
    bool everywhere = applet != m_applet || whole || repaintAll;
    // Where the changed menus were and are: with the rest in place, only there is repainted.
    QRect dirty;
    for (const CVorane* menu : changedTopMenus) {
        const auto known = m_menuExtents.find(menu);
        if (known == m_menuExtents.end()) {
            everywhere = true;
            continue;
        }
        dirty |= CMenuLayout::ToQRect(known->second);
        m_menuExtents.erase(known);
    }
    const std::size_t shownBefore = m_menuExtents.size() + changedTopMenus.size();
    m_applet = applet;
    if (m_ownApplet.get() != applet) m_ownApplet.reset();
    Relayout(path);
    if (!m_onItem || m_layout.Path() != path) m_pressed = false;
    UpdateCanvas();
    everywhere = everywhere || m_pressed != pressed || m_extent != extent || m_menuExtents.size() != shownBefore;
    if (everywhere) return update();
    for (const CVorane* menu : changedTopMenus)
        if (const auto now = m_menuExtents.find(menu); now != m_menuExtents.end())
            dirty |= CMenuLayout::ToQRect(now->second);
    if (!dirty.isEmpty()) update(dirty.translated(m_offset).adjusted(-1, -1, 1, 1));
}

void CMenuPreviewWidget::Shown(const MenuPath& path) {
    Relayout(path);
    if (!m_onItem || m_layout.Path() != path) m_pressed = false;
    UpdateCanvas();
    update();
}

void CMenuPreviewWidget::ReloadImages() {
    m_images.Clear();
    update();
}

void CMenuPreviewWidget::CloseMenus() {
    m_closeTimer.stop();
    const bool wasOpen = !m_layout.Path().IsEmpty();
    m_onItem = false;
    m_pressed = false;
    Relayout({});
    if (wasOpen) {
        emit statusChanged(QString());
        update();
    }
}

void CMenuPreviewWidget::Relayout(const MenuPath& path) {
    if (m_applet)
        m_layout.Build(*m_applet, path);
    else
        m_layout = CMenuLayout();
}

void CMenuPreviewWidget::UpdateCanvas() {
    Rect extent;
    std::unordered_map<const CVorane*, Rect> extents;
    if (m_applet) {
        extent = MenuLayout::Clamped(Rect{0, 0, m_applet->m_appWidth, m_applet->m_appHeight});
        for (const auto& menu : m_applet->m_menus) {
            const auto known = m_menuExtents.find(menu.get());
            const Rect menuExtent = known != m_menuExtents.end() ? known->second : MenuLayout::TopMenuExtent(*menu);
            extents.emplace(menu.get(), menuExtent);
            extent = UnionRect(extent, menuExtent);
        }
    }
    m_menuExtents = std::move(extents);
    m_extent = m_applet ? CMenuLayout::ToQRect(extent) : QRect();
    m_offset = QPoint(kMargin - m_extent.left(), kMargin - m_extent.top());
    updateGeometry();
    const QSize wanted = sizeHint();
    if (size() != wanted) resize(wanted);
}

bool CMenuPreviewWidget::MenusCut() const {
    if (!m_applet) return false;
    const QRect applet(0, 0, m_applet->m_appWidth, m_applet->m_appHeight);
    return std::any_of(m_menuExtents.begin(), m_menuExtents.end(), [&](const auto& menu) {
        const QRect extent = CMenuLayout::ToQRect(menu.second);
        return !extent.isEmpty() && !applet.contains(extent);
    });
}

QSize CMenuPreviewWidget::sizeHint() const {
    return QSize(std::max(m_extent.width(), 1) + 2 * kMargin, std::max(m_extent.height(), 1) + 2 * kMargin);
}

ItemState CMenuPreviewWidget::StateOf(const CVoraneItem* item) const {
    const auto& menus = m_layout.Menus();
    for (std::size_t m = 0; m < menus.size(); ++m)
        for (std::size_t i = 0; i < menus[m].items.size(); ++i)
            if (menus[m].items[i].item == item)
                return CMenuRenderer::StateOf(m_layout, static_cast<int>(m), static_cast<int>(i), m_pressed);
    return kStateNormal;
}

const CVoraneItem* CMenuPreviewWidget::ItemAt(const CMenuLayout::Hit& hit) const {
    if (!hit.IsItem()) return nullptr;
    return m_layout.Menus()[static_cast<std::size_t>(hit.menu)].items[static_cast<std::size_t>(hit.item)].item;
}

QString CMenuPreviewWidget::StatusFor(const CVoraneItem& item) {
    const QString target = Local(item.m_target.empty() ? std::string("_self") : item.m_target);
    QString text = item.m_link.empty() ? QString::fromLatin1(previewtexts::kStatusNoLink).arg(target)
                                       : QString::fromLatin1(previewtexts::kStatusLink).arg(Local(item.m_link), target);
    if (!item.m_description.empty())
        text += QString::fromLatin1(previewtexts::kStatusDescription).arg(Local(item.m_description));
    return text;
}

void CMenuPreviewWidget::PointerAt(QPoint widgetPoint) {
    const CMenuLayout::Hit hit = m_layout.HitTest(ToApplet(widgetPoint));
    if (!hit.IsMenu()) return PointerAway();
    m_closeTimer.stop();
    if (!hit.IsItem()) {
        // Between the items of an open menu: keep what is open, as menus do.
        if (m_onItem) {
            m_onItem = false;
            m_pressed = false;
            emit statusChanged(QString());
            update();
        }
        return;
    }
    const MenuPath path = m_layout.PathTo(hit);
    if (m_onItem && path == m_layout.Path()) return;
    m_pressed = false;
    m_onItem = true;
    Relayout(path);
    const CVoraneItem* item = ItemAt(m_layout.HitTest(ToApplet(widgetPoint)));
    if (item) {
        emit statusChanged(StatusFor(*item));
        PlaySound(*item, kOverAudio);
    }
    update();
}

void CMenuPreviewWidget::PointerAway() {
    if (m_onItem) {
        m_onItem = false;
        m_pressed = false;
        emit statusChanged(QString());
        update();
    }
    if (m_layout.Path().IsEmpty()) return;
    if (m_closeDelay <= 0)
        CloseMenus();
    else if (!m_closeTimer.isActive())
        m_closeTimer.start(m_closeDelay);
}

void CMenuPreviewWidget::mouseMoveEvent(QMouseEvent* event) { PointerAt(event->position().toPoint()); }

void CMenuPreviewWidget::leaveEvent(QEvent*) { PointerAway(); }

void CMenuPreviewWidget::PlaySound(const CVoraneItem& item, MediaField sound) {
    if (const std::string& path = *MediaFieldsOf(item)[sound]; !path.empty()) emit soundRequested(LocalPath(path));
}

void CMenuPreviewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    PointerAt(event->position().toPoint());
    const CVoraneItem* item = ItemAt(m_layout.HitTest(ToApplet(event->position().toPoint())));
    if (!item) return;
    m_pressed = true;
    emit statusChanged(QString::fromLatin1(previewtexts::kStatusClicked).arg(StatusFor(*item)));
    PlaySound(*item, kClickAudio);
    update();
}

void CMenuPreviewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) return;
    m_pressed = false;
    update();
}

void CMenuPreviewWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    Render(painter, event->rect());
}

void CMenuPreviewWidget::Render(QPainter& painter, const QRect& dirty) {
    painter.fillRect(dirty, kCanvasColor);
    if (!m_applet) return;
    painter.save();
    painter.translate(m_offset);
    const QRect appletDirty = dirty.translated(-m_offset);
    m_renderer.DrawAppletBackground(painter, *m_applet);
    m_renderer.DrawMenus(painter, m_layout, m_pressed, appletDirty);
    DrawOutsideMark(painter, appletDirty);
    painter.restore();
}

// Hatching over everything outside the applet, menus included: the applet clips them.
void CMenuPreviewWidget::DrawOutsideMark(QPainter& painter, const QRect& dirty) {
    const QRect applet = CMenuLayout::ToQRect(Rect{0, 0, m_applet->m_appWidth, m_applet->m_appHeight});
    const QRegion outside = QRegion(dirty) - QRegion(applet);
    painter.save();
    painter.setClipRegion(outside, Qt::IntersectClip);
    painter.fillRect(dirty, QBrush(kOutsideHatch, Qt::BDiagPattern));
    painter.restore();
    if (applet.isEmpty()) return;
    painter.setPen(QPen(kAppletOutline, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(applet.adjusted(-1, -1, 0, 0));
}
