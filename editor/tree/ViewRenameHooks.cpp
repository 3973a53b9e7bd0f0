// Rename in place and the find line's keys in the tree.
#include <QKeyEvent>

#include "app/DialogService.h"
#include "app/KestruneDoc.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "properties/PropertyFrame.h"
#include "properties/PropertyPage.h"
#include "properties/PropertyTexts.h"
#include "app/TextConvert.h"
#include "tree/KestruneView.h"
#include "tree/TreeFindBar.h"
#include "tree/TreeNodes.h"
#include "app/UndoTexts.h"

using namespace kestrune;

void CKestruneView::OnEditRename() {
    QTreeWidgetItem* node = SelectedNode();
    const int kind = GetNodeKind(node);
    if (!node || (kind != treenodes::kKindRoot && !treenodes::IsItemKind(kind))) return;
    scrollToItem(node);
    editItem(node);
}

bool CKestruneView::RenameNode(QTreeWidgetItem* node, const QString& text) {
    if (!node) return false;
    if (text.contains(QLatin1Char(','))) {
        Dialogs().ShowMessage(window(), QString::fromLatin1(texts::kMsgNoComma), IDialogService::Buttons::Ok,
                              IDialogService::Icon::Warning);
        return false;
    }
    // What the shown page holds is written first, so the rename is not undone by it later.
    if (!CommitUserEdits()) return false;
    bool renamed = false;
    if (CVoraneItem* item = treenodes::ItemOfNode(node)) {
        const std::string label = convert::LabelFromWidget(text);
        renamed = m_doc.EditProperties([&] { return AssignChanged(item->m_label, label); },
                                       treenodes::ContainerOfNode(node), item, undotexts::kRenameItem);
    } else if (CAppletParameters* applet = treenodes::AppletOfNode(node)) {
        const std::string title = convert::FromQt(text);
        renamed = m_doc.EditProperties([&] { return AssignChanged(applet->m_HTMLTitle, title); }, nullptr, nullptr,
                                       undotexts::kRenameApplet);
    }
    if (renamed && m_pPropertyFrame) m_pPropertyFrame->ReloadActivePage();
    return renamed;
}
