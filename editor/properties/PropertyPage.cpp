// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/PropertyPage.h"

#include <QMetaProperty>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "help/HelpTopics.h"
#include "app/UndoTexts.h"

CPropertyPage::CPropertyPage(CKestruneDoc& doc, const char* caption, int helpContext, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_caption(QString::fromLatin1(caption)), m_helpContext(helpContext) {
    SetHelpTopic(this, helpContext);
}

CKestruneApp& CPropertyPage::App() const { return m_doc.App(); }

IDialogService& CPropertyPage::Dialogs() const { return m_doc.App().Dialogs(); }

bool CPropertyPage::Write(const std::function<bool()>& write, kestrune::CVorane* menu,
                          kestrune::CVoraneItem* item, const QString& text) {
    return m_doc.EditProperties(write, menu, item, text.isEmpty() ? undotexts::PageEdit(m_caption) : text,
                                CKestruneDoc::Reach::NamedObjects);
}

void CPropertyPage::Load() {
    LoadFromModel();
    m_loaded = ControlState();
}

bool CPropertyPage::Commit() {
    if (!ChangedSinceLoad()) return true;
    if (!SaveToModel()) return false;
    m_loaded = ControlState();
    return true;
}

QVariantList CPropertyPage::ControlState() const {
    QVariantList state;
    for (const QWidget* control : findChildren<QWidget*>()) {
        const QMetaProperty value = control->metaObject()->userProperty();
        if (value.isValid()) state.append(value.read(control));
    }
    return state;
}
