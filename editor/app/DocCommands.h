// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUndoCommand>
#include <memory>

#include "model/ModelChange.h"
#include "app/PropertyValues.h"

class CKestruneDoc;
namespace kestrune {
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// The undoable steps of the document. Each stores what it needs to go both ways and swaps
// it with the model; a step that takes a menu or item out keeps that very object alive, so
// putting it back restores it with everything below it and every later step still finds it.

// A top-level menu put in at an index, or taken out there: one swap, run by redo and undo.
class CPlaceMenuCommand : public QUndoCommand {
public:
    // menu given: the step inserts it; null: the step removes the menu at index.
    CPlaceMenuCommand(CKestruneDoc& doc, const QString& text, int index, std::unique_ptr<kestrune::CVorane> menu,
                      QUndoCommand* parent = nullptr);
    ~CPlaceMenuCommand() override;
    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap();
    CKestruneDoc& m_doc;
    int m_index;
    std::unique_ptr<kestrune::CVorane> m_held;
};

// An item put into a menu at an index, or taken out there. owner, when known, is the item
// whose sub menu the container is.
class CPlaceItemCommand : public QUndoCommand {
public:
    CPlaceItemCommand(CKestruneDoc& doc, const QString& text, kestrune::CVorane* container, int index,
                      std::unique_ptr<kestrune::CVoraneItem> item, const kestrune::CVoraneItem* owner = nullptr,
                      QUndoCommand* parent = nullptr);
    ~CPlaceItemCommand() override;
    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap();
    CKestruneDoc& m_doc;
    kestrune::CVorane* m_container;
    int m_index;
    std::unique_ptr<kestrune::CVoraneItem> m_held;
    const kestrune::CVoraneItem* m_owner;
};

// Two neighbours exchanged: top-level menus (no container) or the items of a menu.
class CSwapNeighboursCommand : public QUndoCommand {
public:
    CSwapNeighboursCommand(CKestruneDoc& doc, const QString& text, kestrune::CVorane* container, int from, int to);
    void redo() override;
    void undo() override;

private:
    CKestruneDoc& m_doc;
    kestrune::CVorane* m_container;
    int m_from;
    int m_to;
};

// A visibility flag; the stored value and the model's are swapped each way.
class CSetVisibleCommand : public QUndoCommand {
public:
    CSetVisibleCommand(CKestruneDoc& doc, const QString& text, kestrune::CVorane* menu, kestrune::CVoraneItem* item,
                       bool visible);
    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap();
    CKestruneDoc& m_doc;
    kestrune::CVorane* m_menu;
    kestrune::CVoraneItem* m_item;
    std::int32_t m_value;
};

// Property values already written by an edit: the records before and after it. The first
// redo only announces the edit as it happened.
class CChangeValuesCommand : public QUndoCommand {
public:
    CChangeValuesCommand(CKestruneDoc& doc, const QString& text, PropertyDiff diff, const kestrune::ModelChange& done);
    void redo() override;
    void undo() override;

private:
    void Apply(bool after);
    CKestruneDoc& m_doc;
    PropertyDiff m_diff;
    kestrune::ModelChange m_done;
    bool m_applied = true;
};
