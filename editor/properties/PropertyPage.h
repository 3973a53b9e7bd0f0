// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVariantList>
#include <QWidget>
#include <functional>

class CKestruneApp;
class CKestruneDoc;
class IDialogService;
namespace kestrune {
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// One tab of a property sheet. It holds no model data between activations: it loads the
// model into its controls when it becomes active and writes them back when it is left.
class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    CPropertyPage(CKestruneDoc& doc, const char* caption, int helpContext, QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    int HelpContext() const { return m_helpContext; }

    virtual void LoadFromModel() = 0;
    // Reads and checks the controls, then writes them into the model. A failed check is
    // reported with the box focused and nothing is written; the result says whether the
    // page may be left for another tab.
    virtual bool SaveToModel() = 0;

    // What the sheets call: Load() shows the model and remembers what the controls hold;
    // Commit() writes only when the user changed a control since, so a page merely looked
    // at writes nothing and records no step.
    void Load();
    bool Commit();
    bool ChangedSinceLoad() const { return ControlState() != m_loaded; }

signals:
    // Help for a topic, asked for by a dialog this page opens.
    void helpRequested(const QString& topic);

protected:
    CKestruneDoc& Doc() const { return m_doc; }
    CKestruneApp& App() const;
    IDialogService& Dialogs() const;

    // Writes through the document's edit layer: only a real change marks it modified.
    // The step is named text, or after the page ("Edit Item").
    bool Write(const std::function<bool()>& write, kestrune::CVorane* menu = nullptr,
               kestrune::CVoraneItem* item = nullptr, const QString& text = {});

private:
    // The value of every control on the page (each widget's user property).
    QVariantList ControlState() const;

    CKestruneDoc& m_doc;
    QVariantList m_loaded;
    QString m_caption;
    int m_helpContext;
};

// Assigns when the value differs; tells whether it did.
template <typename T, typename U>
bool AssignChanged(T& field, const U& value) {
    if (field == value) return false;
    field = value;
    return true;
}
