// The tree's side of the property frame: creating, placing and showing it for the selection.
#include <QMainWindow>
#include <QScreen>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "app/ScreenFit.h"
#include "properties/PropertyFrame.h"
#include "tree/KestruneView.h"
#include "tree/TreeNodes.h"

namespace {
// A quarter across and two thirds down the main window's outer rectangle, grown once more
// by the window's own frame, caption and menu bar as a client rectangle of it would be.
QPoint InitialFramePosition(const QWidget* mainWindow) {
    const QRect outer = mainWindow->frameGeometry();
    const QRect client = mainWindow->geometry();
    int menuBarHeight = 0;
    if (const auto* main = qobject_cast<const QMainWindow*>(mainWindow); main && main->menuWidget())
        menuBarHeight = main->menuWidget()->height();
    const QRect grown = outer.adjusted(-(client.left() - outer.left()), -(client.top() - outer.top() + menuBarHeight),
                                       outer.right() - client.right(), outer.bottom() - client.bottom());
    const int left = grown.left(), top = grown.top();
    const int right = grown.right() + 1, bottom = grown.bottom() + 1;
    return {left + (right - left) / 4, top + 2 * (bottom - top) / 3};
}
}  // namespace

void CKestruneView::ShowProperties() {
    if (!m_pPropertyFrame) {
        m_pPropertyFrame = new CPropertyFrame(m_doc, this);
        m_pPropertyFrame->move(InitialFramePosition(window()));
        connect(m_pPropertyFrame, &CPropertyFrame::showPropertiesRequested, this, &CKestruneView::ShowProperties);
        connect(m_pPropertyFrame, &CPropertyFrame::helpRequested, this, &CKestruneView::helpRequested);
    }
    if (!m_pPropertyFrame->isVisible()) m_pPropertyFrame->show();

    QTreeWidgetItem* node = SelectedNode();
    switch (GetNodeKind(node)) {
    case treenodes::kKindRoot:
        m_pPropertyFrame->ShowAppletSheet();
        break;
    case treenodes::kKindMenu:
        // Top-level menus have no properties of their own.
        m_pPropertyFrame->Close();
        break;
    case treenodes::kKindSubMenuItem:
    case treenodes::kKindPlainItem:
        m_pPropertyFrame->ShowItemSheet(ItemOfNode(node), treenodes::ContainerOfNode(node));
        break;
    default:
        App().ClearEditingContext();
        break;
    }
    // At a large scale the frame's place may lie partly off the screen: it is moved onto it.
    if (m_pPropertyFrame->isVisible())
        if (const QScreen* screen = m_pPropertyFrame->screen()) {
            const QRect kept = KeptOnScreen(m_pPropertyFrame->frameGeometry(), screen->availableGeometry());
            if (kept.topLeft() != m_pPropertyFrame->frameGeometry().topLeft()) m_pPropertyFrame->move(kept.topLeft());
        }
    // Showing the frame, or letting it follow the selection, counts as a change.
    m_doc.SetModifiedFlag(true);
}

bool CKestruneView::CommitActivePage() { return !m_pPropertyFrame || m_pPropertyFrame->CommitActivePage(); }

bool CKestruneView::CommitUserEdits() {
    return !m_pPropertyFrame || !m_pPropertyFrame->HasUserInput() || m_pPropertyFrame->CommitActivePage();
}

void CKestruneView::RefreshAppletPage() {
    if (m_pPropertyFrame) m_pPropertyFrame->RefreshAppletPage();
}

bool CKestruneView::IsPropertyFrameShown() const { return m_pPropertyFrame && m_pPropertyFrame->isVisible(); }

void CKestruneView::ForgetPropertySheet() {
    if (m_pPropertyFrame) m_pPropertyFrame->ForgetSheet();
}
