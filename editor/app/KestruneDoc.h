// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <string>

#include "model/ModelChange.h"

class CKestruneApp;
class CPropertySnapshot;
namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// The one document: modified flag, path, panes and the Auto-Change option. It holds no
// model data; it is the edit layer every change of the model goes through, so the
// modified flag, the tree, the preview and the undo stack all see the same events. Every
// edit is one step on the undo stack; the document is modified while the stack is away
// from the step it was saved at.
class CKestruneDoc : public QObject {
    Q_OBJECT
public:
    explicit CKestruneDoc(CKestruneApp& app, QObject* parent = nullptr);

    CKestruneApp& App() const { return m_app; }
    kestrune::CAppletParameters& Applet() const;

    bool IsModified() const { return m_modified; }
    // Modified exactly while undo could take something back to the saved state, or an edit
    // without a step (one that cleared the history) was made since.
    // true: modified without a step of its own; the next undo, redo or edit decides again.
    // false: the current step becomes the saved one.
    void SetModifiedFlag(bool modified = true);
    const QString& PathName() const { return m_pathName; }
    void SetPathName(const QString& path);
    QString Title() const;  // "Untitled" or the file name

    // The editing context the property pages work on: the item whose sheet shows and the
    // menu that holds it. Non-owning; cleared when they go away.
    kestrune::CVorane* m_pCurMenu = nullptr;
    kestrune::CVoraneItem* m_pCurItem = nullptr;
    void ClearEditingContext();

    // Asks the pane that shows a property page to write what the user typed into the model.
    void CommitPendingPage() { emit commitPendingPage(); }
    // Puts a text into the message pane; false when no pane shows the document's messages.
    bool ShowMessage(const QString& text);
    int m_bAutoChangeSize = 0;
    int m_bScriptRuntime = 0;  // saved pages carry the script runtime
    std::string m_pageLanguage;  // the BCP 47 tag runtime pages declare

    // Structural edits, each one undoable step (named by text, or by its usual name). Each
    // reports failure as null/false and then changes nothing.
    // index: where the new menu or item goes among its siblings (first by default).
    kestrune::CVorane* InsertTopLevelMenu(int index = 0);
    // styleSource, when given, styles menu first (a plain item receiving its first sub item).
    // owner, when given, is the item whose sub menu menu is.
    kestrune::CVoraneItem* InsertItem(kestrune::CVorane* menu, const kestrune::CVorane* styleSource = nullptr,
                                      const kestrune::CVoraneItem* owner = nullptr, int index = 0);
    // Every sub menu below menu gets its look, as one step; false when none changed.
    bool ApplyStyleToSubMenus(kestrune::CVorane* menu);
    bool RemoveTopLevelMenu(kestrune::CVorane* menu);
    bool RemoveItem(kestrune::CVorane* container, kestrune::CVoraneItem* item, const QString& text = {});
    bool SetVisible(kestrune::CVorane* topLevelMenu, bool visible);
    bool SetVisible(kestrune::CVoraneItem* item, bool visible);
    bool MoveTopLevelMenu(kestrune::CVorane* menu, int delta);
    bool MoveItem(kestrune::CVorane* container, kestrune::CVoraneItem* item, int delta);
    // A deep copy of item placed first in target; styleSource, when given, styles target first;
    // owner, when given, is the item whose sub menu target is.
    kestrune::CVoraneItem* InsertCopy(kestrune::CVorane* target, const kestrune::CVoraneItem& item,
                                      const kestrune::CVorane* styleSource = nullptr, const QString& text = {},
                                      const kestrune::CVoraneItem* owner = nullptr);
    // A deep copy placed at index in target (a drop between items).
    kestrune::CVoraneItem* InsertCopyAt(kestrune::CVorane* target, int index, const kestrune::CVoraneItem& item,
                                        const QString& text = {});

    // A page writes its fields inside write(); write() returns whether anything changed.
    // Only a real change marks the document modified, is announced and becomes a step
    // holding the values before and after. While a step is being done or undone nothing
    // is written: the step's values hold.
    // reach says what write() may touch: anything, or only the applet's own fields and
    // the named menu and item (what a property page or a rename writes), which keeps an
    // edit of a big document as cheap as the objects it names.
    enum class Reach { Anything, NamedObjects };
    bool EditProperties(const std::function<bool()>& write, kestrune::CVorane* menu = nullptr,
                        kestrune::CVoraneItem* item = nullptr, const QString& text = {},
                        Reach reach = Reach::Anything);
    // Debug builds, and any build run with KESTRUNE_CHECK_NAMED_WRITES set (the tests),
    // check that a NamedObjects write changed nothing beyond the applet and the objects it
    // named, for such a change would escape undo. What escaped goes to the handler; the
    // default one stops the program, as for any broken promise of the code.
    void SetNamedWriteEscapeHandler(std::function<void(const QString& what)> handler);

    // While held, every edit, undo and redo is refused (a save reads the model on another
    // thread). Holds nest.
    void HoldEdits(bool hold) { m_busy += hold ? 1 : -1; }

    // Several edits as one step (a drag that moves an item).
    void BeginStep(const QString& text);
    void EndStep();

    QUndoStack& UndoStack() { return m_undoStack; }
    bool CanUndo() const { return m_undoStack.canUndo(); }
    bool CanRedo() const { return m_undoStack.canRedo(); }
    QString UndoText() const { return m_undoStack.undoText(); }
    QString RedoText() const { return m_undoStack.redoText(); }
    void Undo();
    void Redo();
    // Whether a step is being undone or redone (listeners show its result rather than
    // write their own values).
    bool IsReplaying() const { return m_replaying; }

    // The primitives the steps use; each changes the model once and announces it.
    void PutMenu(int index, std::unique_ptr<kestrune::CVorane> menu);
    std::unique_ptr<kestrune::CVorane> TakeMenu(int index);
    void PutItem(kestrune::CVorane* container, int index, std::unique_ptr<kestrune::CVoraneItem> item,
                 const kestrune::CVoraneItem* owner = nullptr);
    std::unique_ptr<kestrune::CVoraneItem> TakeItem(kestrune::CVorane* container, int index);
    // container null: top-level menus. The one at `from` moves to `to`, its neighbour.
    void SwapNeighbours(kestrune::CVorane* container, int from, int to);
    void Announce(const kestrune::ModelChange& change);
    // Said just before a structural primitive changes the model, with the same fields its
    // announcement will carry (a removed object still in place), so item views can prepare.
    void AnnounceComing(const kestrune::ModelChange& change);

    // Refills the whole model (New, Open, templates); fill() reports success and must leave
    // the model untouched when it fails, so a refused open changes nothing, not even the tree.
    bool ReplaceModel(const std::function<bool(kestrune::CAppletParameters&)>& fill);

signals:
    // Said before New, Open or a template refills the model, while it still holds the
    // document shown so far.
    void modelAboutToBeReplaced();
    void modelAboutToChange(const kestrune::ModelChange& change);
    void modelChanged(const kestrune::ModelChange& change);
    void modifiedChanged(bool modified);
    void titleChanged(const QString& title);
    void commitPendingPage();
    void messageShown(const QString& text);

private:
    void Push(QUndoCommand* command);
    // Clears the editing context when the given object, or anything below it, goes away.
    void ForgetIfInside(const kestrune::CVorane* removedMenu, const kestrune::CVoraneItem* removedItem);
    void CheckNamedWrite(const CPropertySnapshot& whole, const kestrune::CVorane* menu,
                         const kestrune::CVoraneItem* item);
    void UpdateModified();

    CKestruneApp& m_app;
    bool m_modified = false;
    bool m_modifiedWithoutStep = false;
    int m_busy = 0;  // steps being done, undone or redone
    bool m_replaying = false;
    QString m_pathName;
    QUndoStack m_undoStack;
    bool m_checkNamedWrites;
    std::function<void(const QString&)> m_namedWriteEscaped;
};
