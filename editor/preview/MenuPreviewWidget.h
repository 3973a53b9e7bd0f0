// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>
#include <unordered_map>
#include <vector>

#include "model/AppletParameters.h"
#include "preview/PreviewMenuLayout.h"
#include "preview/MenuRenderer.h"
#include "preview/PreviewImageCache.h"

// The applet drawn at its size, on a canvas that also holds every menu it can show; the
// canvas outside the applet is hatched, so menus that stick out are seen at once.
// The pointer works the menus as in a browser: over an item it shows Mouse Over and
// opens the item's sub menu, pressed it shows Clicked; away from all open menus they
// close after a short delay, so the pointer can cross a gap to a sub menu.
class CMenuPreviewWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMargin = 16;
    static constexpr int kDefaultCloseDelay = 400;  // ms

    explicit CMenuPreviewWidget(QWidget* parent = nullptr);
    ~CMenuPreviewWidget() override;

    // Shows another applet (or the same one after an edit); open menus stay open where
    // the new applet still has them. Null clears the preview.
    void SetApplet(std::unique_ptr<kestrune::CAppletParameters> applet);
    // Shows an applet someone else keeps, after an edit changed it in place: only the
    // given top-level menus (everything when whole) are measured again and repainted
    // (everything when repaintAll, e.g. a new background). The applet must outlive its showing.
    void ShowApplet(const kestrune::CAppletParameters* applet,
                    const std::vector<const kestrune::CVorane*>& changedTopMenus, bool whole,
                    bool repaintAll = false);
    const kestrune::CAppletParameters* Applet() const { return m_applet; }
    // Whether a shown menu reaches beyond the applet's rectangle, where a page cuts it off.
    bool MenusCut() const;
    // Image files may have changed on disk: read them again at the next redraw.
    void ReloadImages();

    void SetCloseDelay(int milliseconds) { m_closeDelay = milliseconds; }
    // Closes every open menu at once.
    void CloseMenus();

    const CMenuLayout& Layout() const { return m_layout; }
    const MenuPath& OpenPath() const { return m_layout.Path(); }
    bool IsPressed() const { return m_pressed; }
    // Widget position of a point of the applet.
    QPoint ToWidget(QPoint appletPoint) const { return appletPoint + m_offset; }
    QPoint ToApplet(QPoint widgetPoint) const { return widgetPoint - m_offset; }
    // The state an item is drawn in; Normal for items not shown.
    kestrune::ItemState StateOf(const kestrune::CVoraneItem* item) const;
    // Draws what the widget shows into any painter, in widget coordinates.
    void Render(QPainter& painter, const QRect& dirty);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void statusChanged(const QString& text);
    void soundRequested(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Relayout(const MenuPath& path);
    void UpdateCanvas();
    void Shown(const MenuPath& path);
    void PointerAt(QPoint widgetPoint);
    void PointerAway();
    void PlaySound(const kestrune::CVoraneItem& item, kestrune::MediaField sound);
    const kestrune::CVoraneItem* ItemAt(const CMenuLayout::Hit& hit) const;
    void DrawOutsideMark(QPainter& painter, const QRect& dirty);
    static QString StatusFor(const kestrune::CVoraneItem& item);

    std::unique_ptr<kestrune::CAppletParameters> m_ownApplet;
    const kestrune::CAppletParameters* m_applet = nullptr;
    // What each shown top-level menu adds to the canvas, so an edit measures only its own.
    std::unordered_map<const kestrune::CVorane*, kestrune::Rect> m_menuExtents;
    CPreviewImageCache m_images;
    CMenuRenderer m_renderer{m_images};
    CMenuLayout m_layout;
    QRect m_extent;           // applet coordinates
    QPoint m_offset;          // widget position of the applet's (0, 0)
    bool m_onItem = false;    // the pointer is over the last item of the open path
    bool m_pressed = false;
    int m_closeDelay = kDefaultCloseDelay;
    QTimer m_closeTimer;
};
