// The tree's side of the property frame. The property frame code replaces these bodies.
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "tree/KestruneView.h"
#include "tree/TreeNodes.h"

void CKestruneView::ShowProperties() {
    if (GetNodeKind(SelectedNode()) == treenodes::kKindNone) App().ClearEditingContext();
    // Showing the frame, or letting it follow the selection, counts as a change.
    m_doc.SetModifiedFlag(true);
}

bool CKestruneView::CommitActivePage() { return true; }
void CKestruneView::RefreshAppletPage() {}
bool CKestruneView::IsPropertyFrameShown() const { return false; }
void CKestruneView::ForgetPropertySheet() {}
