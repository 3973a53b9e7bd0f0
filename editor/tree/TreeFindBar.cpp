#include "tree/TreeFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <vector>

#include "app/KestruneDoc.h"
#include "app/ShellTexts.h"
#include "model/VoraneItem.h"
#include "app/TextConvert.h"
#include "tree/KestruneView.h"
#include "tree/TreeNodes.h"

CTreeFindBar::CTreeFindBar(CKestruneView& view, QWidget* parent) : QWidget(parent), m_view(view) {
    setObjectName(QStringLiteral("treeFindBar"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("treeFindEdit"));
    m_edit->setPlaceholderText(shelltexts::kFindPlaceholder);
    // The clear button's theme icon is looked up when the button is made, a cost the
    // first window need not pay: it comes with the first text.
    connect(m_edit, &QLineEdit::textChanged, this, [this] { m_edit->setClearButtonEnabled(true); },
            Qt::SingleShotConnection);
    m_edit->installEventFilter(this);
    auto* label = new QLabel(shelltexts::kFindLabel, this);
    label->setBuddy(m_edit);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(label);
    row->addWidget(m_edit, 1);
    connect(m_edit, &QLineEdit::textChanged, this, &CTreeFindBar::ApplyFilter);
    connect(m_edit, &QLineEdit::returnPressed, this, &CTreeFindBar::FindNext);
    // New, moved or renamed nodes are filtered too, once the edit that made them is done.
    connect(&view.GetDocument(), &CKestruneDoc::modelChanged, this, [this] {
        if (IsFiltering()) QTimer::singleShot(0, this, &CTreeFindBar::ApplyFilter);
    });
    hide();
}

bool CTreeFindBar::IsFiltering() const { return !m_edit->text().isEmpty(); }

void CTreeFindBar::Open() {
    show();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void CTreeFindBar::Close() {
    m_edit->clear();  // shows every node again
    hide();
    m_view.setFocus(Qt::OtherFocusReason);
}

bool CTreeFindBar::Matches(const QTreeWidgetItem* node) const {
    const kestrune::CVoraneItem* item = treenodes::ItemOfNode(node);
    if (!item) return false;
    const QString wanted = m_edit->text();
    for (const std::string* field : {&item->m_label, &item->m_description, &item->m_link})
        if (kestrune::convert::LabelToWidget(*field).contains(wanted, Qt::CaseInsensitive)) return true;
    return false;
}

void CTreeFindBar::ApplyFilter() {
    QTreeWidgetItem* root = m_view.RootNode();
    if (!root) return;
    const bool filtering = IsFiltering();
    // Post-order with an explicit stack: a node is shown when it matches or shows a child.
    std::vector<std::pair<QTreeWidgetItem*, bool>> pending{{root, false}};
    std::vector<bool> shown;
    while (!pending.empty()) {
        auto [node, childrenDone] = pending.back();
        if (!childrenDone) {
            pending.back().second = true;
            for (int i = node->childCount(); i-- > 0;) pending.emplace_back(node->child(i), false);
            continue;
        }
        pending.pop_back();
        bool visible = !filtering || node == root || Matches(node);
        for (int i = 0; i < node->childCount(); ++i)
            if (!node->child(i)->isHidden()) visible = true;
        node->setHidden(!visible);
        if (filtering && visible && node->childCount() > 0) node->setExpanded(true);
    }
    root->setHidden(false);
}

bool CTreeFindBar::FindNext() {
    if (!IsFiltering()) return false;
    std::vector<QTreeWidgetItem*> matches;
    int after = -1;
    for (QTreeWidgetItemIterator it(&m_view); *it; ++it) {
        if (!(*it)->isHidden() && Matches(*it)) matches.push_back(*it);
        if (*it == m_view.SelectedNode()) after = static_cast<int>(matches.size()) - 1;
    }
    if (matches.empty()) return false;
    const std::size_t next = static_cast<std::size_t>(after + 1) % matches.size();
    m_view.SelectNode(matches[next]);
    return true;
}

bool CTreeFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
        if (key->key() == Qt::Key_F3) {
            FindNext();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
