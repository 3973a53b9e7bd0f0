// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/PropertyFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "help/HelpTopics.h"
#include "properties/AppletPropertySheet.h"
#include "properties/DlgAppletParam.h"
#include "properties/ItemPropertySheet.h"
#include "properties/MenuPropertySheet.h"
#include "properties/PageWidgets.h"
#include "properties/PropertyPage.h"
#include "properties/PropertyTexts.h"

using namespace kestrune;

CPropertyFrame::CPropertyFrame(CKestruneDoc& doc, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      m_doc(doc),
      m_appletSheet(new CAppletPropertySheet(doc, this)),
      m_menuSheet(new CMenuPropertySheet(doc, this)),
      m_itemSheet(new CItemPropertySheet(doc, this)) {
    setWindowTitle(QString::fromLatin1(texts::kFrameCaption));
    setAttribute(Qt::WA_ShowWithoutActivating);

    // Every page has the same size, so the sheets differ only by the button strip.
    QSize common;
    for (CPropertySheet* sheet : Sheets()) common = common.expandedTo(sheet->PageAreaHint());
    for (CPropertySheet* sheet : Sheets()) {
        sheet->SetPageAreaSize(common);
        sheet->hide();
        connect(sheet, &CPropertySheet::viewRequested, this, &CPropertyFrame::OnViewRequested);
        connect(sheet, &CPropertySheet::helpRequested, this, &CPropertyFrame::helpRequested);
        connect(sheet, &CPropertySheet::activePageLoaded, this, [this] { m_userInput = false; });
    }
    resize(0, 0);
    // Undo and redo change the model under the shown page: it shows their result.
    connect(&doc, &CKestruneDoc::modelChanged, this, [this] {
        if (m_doc.IsReplaying()) ReloadActivePage();
    });
    qApp->installEventFilter(this);
}

CPropertyFrame::~CPropertyFrame() = default;

std::array<CPropertySheet*, 3> CPropertyFrame::Sheets() const { return {m_appletSheet, m_menuSheet, m_itemSheet}; }

void CPropertyFrame::ShowSheet(CPropertySheet* sheet, const QString& title, CVoraneItem* item, CVorane* itemMenu) {
    if (m_current && m_pageLive) m_current->ActivePage()->Commit();
    setWindowTitle(title);
    if (sheet != m_current) {
        for (CPropertySheet* other : Sheets())
            if (other != sheet) other->hide();
        FitTo(sheet);
        sheet->move(0, 0);
        sheet->show();
    }
    m_doc.m_pCurItem = item;
    m_doc.m_pCurMenu = item ? itemMenu : nullptr;
    sheet->ActivePage()->Load();
    m_current = sheet;
    m_pageLive = true;
    m_userInput = false;
}

void CPropertyFrame::ShowAppletSheet() {
    ShowSheet(m_appletSheet, QString::fromLatin1(texts::kAppletSheetTitle), nullptr, nullptr);
}

void CPropertyFrame::ShowItemSheet(CVoraneItem* item, CVorane* itemMenu) {
    CPropertySheet* sheet = m_doc.App().m_bItemSheet ? static_cast<CPropertySheet*>(m_itemSheet) : m_menuSheet;
    ShowSheet(sheet, QString::fromLatin1(texts::kItemSheetTitle), item, itemMenu);
}

QSize CPropertyFrame::LargestSheetSize() const {
    QSize largest;
    for (const CPropertySheet* sheet : Sheets()) largest = largest.expandedTo(sheet->sizeHint());
    return largest;
}

void CPropertyFrame::FitTo(CPropertySheet* sheet) {
    sheet->adjustSize();
    setFixedSize(sheet->size());
}

void CPropertyFrame::Close() {
    hide();
    if (!m_current || !m_pageLive) return;
    m_current->ActivePage()->Commit();
    // Committed: while hidden the model may change (the applet size under Auto-Change),
    // and the values the page still shows must not be written over it later.
    m_pageLive = false;
}

bool CPropertyFrame::CommitActivePage() {
    if (!isVisible() || !m_current) return true;
    if (!m_current->ActivePage()->Commit()) return false;
    m_userInput = false;
    return true;
}

void CPropertyFrame::ReloadActivePage() {
    if (!isVisible() || !m_current || !m_pageLive) return;
    m_current->ActivePage()->Load();
    m_userInput = false;
}

bool CPropertyFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && (widget == this || isAncestorOf(widget)))
            m_userInput = true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void CPropertyFrame::FocusActivePage() {
    if (!m_current || !m_current->ActivePage()) return;
    raise();
    activateWindow();
    CPropertyPage* page = m_current->ActivePage();
    QWidget* first = page->nextInFocusChain();
    while (first && first != page && (!page->isAncestorOf(first) || !first->isEnabled() || !first->isVisible() ||
                                      !(first->focusPolicy() & Qt::TabFocus)))
        first = first->nextInFocusChain();
    (first && first != page ? first : static_cast<QWidget*>(page))->setFocus(Qt::TabFocusReason);
}

void CPropertyFrame::ReturnFocusToOwner() {
    QWidget* owner = parentWidget();
    if (!owner) return;
    owner->window()->raise();
    owner->window()->activateWindow();
    owner->setFocus(Qt::OtherFocusReason);
}

bool CPropertyFrame::HasFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return isVisible() && focus && (focus == this || isAncestorOf(focus));
}

void CPropertyFrame::keyPressEvent(QKeyEvent* event) {
    // Escape, unused by the box that has the focus, leaves the frame for the tree.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ReturnFocusToOwner();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CPropertyFrame::RefreshAppletPage() {
    if (isVisible() && m_current == m_appletSheet) m_appletSheet->AppletPage()->Load();
}


void CPropertyFrame::ForgetSheet() {
    if (!m_current) return;
    m_current->hide();
    m_current = nullptr;
}

void CPropertyFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    Close();
}

bool CPropertyFrame::event(QEvent* event) {
    // Help asked for outside any sheet or page (the frame itself) opens nothing; the
    // topics of sheets and pages are left to the program's help command.
    if (kestrune::widgets::IsHelpKey(event)) {
        const QWidget* focus = focusWidget();
        if (!focus || HelpTopicOf(focus) == HelpTopicOf(this)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void CPropertyFrame::OnViewRequested(bool itemSheet) {
    m_doc.App().m_bItemSheet = itemSheet ? 1 : 0;
    emit showPropertiesRequested();
}
