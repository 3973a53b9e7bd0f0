// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/PropertySheet.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTabBar>
#include <QVBoxLayout>
#include <cmath>

#include "help/HelpTopics.h"
#include "properties/IconResources.h"
#include "properties/PropertyPage.h"
#include "properties/PropertyTexts.h"

using namespace kestrune;

namespace {
constexpr int kStripWidth = 50;
constexpr int kStripMargin = 25;

CSheetButton* MakeStripButton(QWidget* parent, const char* name, const char* caption, const char* picture,
                              const char* tip) {
    auto* button = new CSheetButton(parent);
    button->setObjectName(QString::fromLatin1(name).toLower() + QStringLiteral("Button"));
    button->setAccessibleName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(tip));
    button->setIcon(QIcon(QString::fromLatin1(picture)));
    button->setIconSize({kStripWidth - 4, kStripWidth - 4});
    button->setFixedSize(kStripWidth, kStripWidth);
    button->setCheckable(true);
    button->setAutoDefault(false);
    return button;
}
}  // namespace

namespace {
// The round picture fills this share of its square (46 of 50 pixels).
constexpr qreal kDiscShare = 46.0 / 50.0;

// Whether the caption stands inside the disc: no wider than the disc where the capitals
// stand, less its shadow's pixel and a pixel each side, which hinting at a large scale
// may add to the letters.
bool FitsTheDisc(const QFont& font, const QString& caption) {
    const QFontMetricsF metrics(font);
    const qreal radius = kDiscShare * (kStripWidth - 4) / 2;
    const qreal half = metrics.capHeight() / 2;
    const qreal chord = half < radius ? 2 * std::sqrt(radius * radius - half * half) : 0;
    return metrics.horizontalAdvance(caption) + 3 <= chord;
}
}  // namespace

QFont CSheetButton::CaptionFont() const {
    constexpr qreal kSmallest = 6.0;
    QFont font = this->font();
    font.setBold(true);
    while (!FitsTheDisc(font, text()) && font.pointSizeF() > kSmallest) font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

void CSheetButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    const QPixmap picture = icon().pixmap(inner.size(), devicePixelRatioF());
    QRect target(QPoint(), picture.deviceIndependentSize().toSize());
    target.moveCenter(inner.center());
    if (isChecked() || isDown()) target.translate(1, 1);
    painter.drawPixmap(target, picture);
    // The caption in the user's font, light on the picture's dark ground.
    painter.setFont(CaptionFont());
    const QRect captionArea = target.translated(1, 1);
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawText(captionArea, Qt::AlignCenter, text());
    painter.setPen(Qt::white);
    painter.drawText(target, Qt::AlignCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inner.adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

CPropertySheet::CPropertySheet(int helpContext, Strip strip, QWidget* parent)
    : QWidget(parent), m_strip(strip) {
    SetHelpTopic(this, helpContext);
    m_tabs = new QTabBar(this);
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    m_stack = new QStackedWidget(this);
    m_stack->setFrameShape(QFrame::StyledPanel);

    auto* pageColumn = new QVBoxLayout;
    pageColumn->setSpacing(0);
    pageColumn->addWidget(m_tabs);
    pageColumn->addWidget(m_stack, 1);
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(6, 6, strip == Strip::None ? 6 : 0, 6);
    columns->setSpacing(0);
    columns->addLayout(pageColumn, 1);
    if (strip != Strip::None) BuildButtonStrip(strip, columns);
    connect(m_tabs, &QTabBar::currentChanged, this, &CPropertySheet::OnTabChanged);
}

void CPropertySheet::BuildButtonStrip(Strip strip, QHBoxLayout* columns) {
    EnsureIconResources();
    m_menuButton = MakeStripButton(this, texts::kMenuButtonText, texts::kMenuButtonCaption, texts::kMenuButtonPicture,
                                   texts::kMenuButtonTip);
    m_itemButton = MakeStripButton(this, texts::kItemButtonText, texts::kItemButtonCaption, texts::kItemButtonPicture,
                                   texts::kItemButtonTip);
    const bool itemSheet = strip == Strip::Item;
    m_menuButton->setChecked(!itemSheet);
    m_itemButton->setChecked(itemSheet);
    connect(m_menuButton, &QPushButton::clicked, this, [this, itemSheet] {
        if (itemSheet) emit viewRequested(false);
    });
    connect(m_itemButton, &QPushButton::clicked, this, [this, itemSheet] {
        if (!itemSheet) emit viewRequested(true);
    });

    auto* stripColumn = new QVBoxLayout;
    stripColumn->setContentsMargins(0, kStripMargin, 0, kStripMargin);
    stripColumn->addWidget(m_menuButton);
    stripColumn->addStretch(1);
    stripColumn->addWidget(m_itemButton);
    columns->addLayout(stripColumn);
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    m_pages.push_back(page);
    m_stack->addWidget(page);
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->addTab(page->Caption());
    }
    if (m_active < 0) {
        m_active = 0;
        m_tabs->setCurrentIndex(0);
        m_stack->setCurrentIndex(0);
    }
    connect(page, &CPropertyPage::helpRequested, this, &CPropertySheet::helpRequested);
}

CPropertyPage* CPropertySheet::ActivePage() const { return m_active >= 0 ? Page(m_active) : nullptr; }

bool CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= PageCount()) return false;
    m_tabs->setCurrentIndex(index);
    return m_active == index;
}

void CPropertySheet::OnTabChanged(int index) {
    if (index == m_active || index < 0) return;
    if (CPropertyPage* leaving = ActivePage(); leaving && !leaving->Commit()) {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(m_active);
        return;
    }
    m_active = index;
    m_stack->setCurrentIndex(index);
    Page(index)->Load();
    emit activePageLoaded();
}

void CPropertySheet::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    int step = 0;
    if (ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_PageDown)) step = 1;
    if (ctrl && (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp)) step = -1;
    if (step == 0 || PageCount() < 2) {
        QWidget::keyPressEvent(event);
        return;
    }
    SetActivePage((m_active + step + PageCount()) % PageCount());
    event->accept();
}

void CPropertySheet::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // As the strip is set up, the sheet's own button takes the keyboard focus.
    if (!m_focusedOwnButton && m_strip != Strip::None) {
        m_focusedOwnButton = true;
        (m_strip == Strip::Item ? m_itemButton : m_menuButton)->setFocus(Qt::OtherFocusReason);
    }
}

QSize CPropertySheet::PageAreaHint() const { return m_stack->sizeHint(); }

void CPropertySheet::SetPageAreaSize(const QSize& size) {
    m_stack->setMinimumSize(size);
    adjustSize();
}
