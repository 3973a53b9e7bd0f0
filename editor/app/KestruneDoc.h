#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "app/ModelChange.h"

class CKestruneApp;
class CKestruneView;
class CWizardInfoView;
namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// The one document: modified flag, path, panes and the Auto-Change option. It holds no
// model data; it is the edit layer every change of the model goes through, so the
// modified flag, the tree, the preview and later undo all see the same events.
class CKestruneDoc : public QObject {
    Q_OBJECT
public:
    explicit CKestruneDoc(CKestruneApp& app, QObject* parent = nullptr);

    CKestruneApp& App() const { return m_app; }
    kestrune::CAppletParameters& Applet() const;

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);
    const QString& PathName() const { return m_pathName; }
    void SetPathName(const QString& path);
    QString Title() const;  // "Untitled" or the file name

    CKestruneView* m_pTreeView = nullptr;
    CWizardInfoView* m_pInfoView = nullptr;
    int m_bAutoChangeSize = 0;
    int m_bScriptRuntime = 0;  // saved pages carry the script runtime

    // Structural edits. Each reports failure as null/false and then changes nothing.
    kestrune::CVorane* InsertTopLevelMenu();
    // styleSource, when given, styles menu first (a plain item receiving its first sub item).
    kestrune::CVoraneItem* InsertItem(kestrune::CVorane* menu, const kestrune::CVorane* styleSource = nullptr);
    bool RemoveTopLevelMenu(kestrune::CVorane* menu);
    bool RemoveItem(kestrune::CVorane* container, kestrune::CVoraneItem* item);
    bool SetVisible(kestrune::CVorane* topLevelMenu, bool visible);
    bool SetVisible(kestrune::CVoraneItem* item, bool visible);
    bool MoveTopLevelMenu(kestrune::CVorane* menu, int delta);
    bool MoveItem(kestrune::CVorane* container, kestrune::CVoraneItem* item, int delta);
    // A deep copy of item placed first in target; styleSource, when given, styles target first.
    kestrune::CVoraneItem* InsertCopy(kestrune::CVorane* target, const kestrune::CVoraneItem& item,
                                      const kestrune::CVorane* styleSource = nullptr);

    // A page writes its fields inside write(); write() returns whether anything changed.
    // Only a real change marks the document modified and is announced.
    bool EditProperties(const std::function<bool()>& write, kestrune::CVorane* menu = nullptr,
                        kestrune::CVoraneItem* item = nullptr);

    // Refills the whole model (New, Open, templates); fill() reports success and must leave
    // the model untouched when it fails, so a refused open changes nothing, not even the tree.
    bool ReplaceModel(const std::function<bool(kestrune::CAppletParameters&)>& fill);

signals:
    void modelChanged(const ModelChange& change);
    void modifiedChanged(bool modified);
    void titleChanged(const QString& title);

private:
    void Announce(const ModelChange& change);

    CKestruneApp& m_app;
    bool m_modified = false;
    QString m_pathName;
};
