// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DocCommands.h"

#include "app/KestruneDoc.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

using namespace kestrune;

CPlaceMenuCommand::CPlaceMenuCommand(CKestruneDoc& doc, const QString& text, int index, std::unique_ptr<CVorane> menu,
                                     QUndoCommand* parent)
    : QUndoCommand(text, parent), m_doc(doc), m_index(index), m_held(std::move(menu)) {}

CPlaceMenuCommand::~CPlaceMenuCommand() = default;

void CPlaceMenuCommand::Swap() {
    if (m_held)
        m_doc.PutMenu(m_index, std::move(m_held));
    else
        m_held = m_doc.TakeMenu(m_index);
}

CPlaceItemCommand::CPlaceItemCommand(CKestruneDoc& doc, const QString& text, CVorane* container, int index,
                                     std::unique_ptr<CVoraneItem> item, const CVoraneItem* owner, QUndoCommand* parent)
    : QUndoCommand(text, parent),
      m_doc(doc),
      m_container(container),
      m_index(index),
      m_held(std::move(item)),
      m_owner(owner) {}

CPlaceItemCommand::~CPlaceItemCommand() = default;

void CPlaceItemCommand::Swap() {
    if (m_held)
        m_doc.PutItem(m_container, m_index, std::move(m_held), m_owner);
    else
        m_held = m_doc.TakeItem(m_container, m_index);
}

CSwapNeighboursCommand::CSwapNeighboursCommand(CKestruneDoc& doc, const QString& text, CVorane* container, int from,
                                               int to)
    : QUndoCommand(text), m_doc(doc), m_container(container), m_from(from), m_to(to) {}

void CSwapNeighboursCommand::redo() { m_doc.SwapNeighbours(m_container, m_from, m_to); }
void CSwapNeighboursCommand::undo() { m_doc.SwapNeighbours(m_container, m_to, m_from); }

CSetVisibleCommand::CSetVisibleCommand(CKestruneDoc& doc, const QString& text, CVorane* menu, CVoraneItem* item,
                                       bool visible)
    : QUndoCommand(text), m_doc(doc), m_menu(menu), m_item(item), m_value(visible ? 1 : 0) {}

void CSetVisibleCommand::Swap() {
    std::int32_t& field = m_item ? m_item->m_visible : m_menu->m_visible;
    std::swap(field, m_value);
    m_doc.Announce({ModelChange::VisibilityChanged, m_item ? nullptr : m_menu, m_item, -1});
}

CChangeValuesCommand::CChangeValuesCommand(CKestruneDoc& doc, const QString& text, PropertyDiff diff,
                                           const ModelChange& done)
    : QUndoCommand(text), m_doc(doc), m_diff(std::move(diff)), m_done(done) {}

void CChangeValuesCommand::redo() {
    if (m_applied) {
        m_applied = false;
        m_doc.Announce(m_done);
        return;
    }
    Apply(true);
}

void CChangeValuesCommand::undo() { Apply(false); }

void CChangeValuesCommand::Apply(bool after) {
    for (const auto& change : m_diff.applet) WriteValues(*change.object, after ? change.after : change.before);
    for (const auto& change : m_diff.menus) WriteValues(*change.object, after ? change.after : change.before);
    for (const auto& change : m_diff.items) WriteValues(*change.object, after ? change.after : change.before);
    // Announced once everything is in place, so listeners see a consistent model.
    if (!m_diff.applet.empty()) {
        ModelChange applet{ModelChange::PropertiesChanged, nullptr, nullptr, -1};
        applet.appletOnly = true;
        m_doc.Announce(applet);
    }
    for (const auto& change : m_diff.menus) {
        const ModelChange::Kind kind = change.before.visible != change.after.visible ? ModelChange::VisibilityChanged
                                                                                     : ModelChange::PropertiesChanged;
        m_doc.Announce({kind, change.object, nullptr, -1});
    }
    for (const auto& change : m_diff.items) {
        if (change.before.m_visible != change.after.m_visible)
            m_doc.Announce({ModelChange::VisibilityChanged, nullptr, change.object, -1});
        m_doc.Announce({ModelChange::PropertiesChanged, nullptr, change.object, -1});
    }
}
