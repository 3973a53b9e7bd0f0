// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "persist/PersistTexts.h"

// Messages of the template dialogs; the name rules' own messages come from the store.
namespace templatetexts {
inline const QString kSelectTemplateToNew = QStringLiteral("Please select a template to new a Vorane!");
inline const QString kSelectTemplateFirst = QString::fromLatin1(kestrune::texts::kSelectTemplateFirst);
inline const QString kConfirmDelete = QStringLiteral("Are you sure to delete \"%1\" template?");
inline const QString kNothingToRestore = QStringLiteral("Every built-in template is in the list already.");
inline const QString kConfirmRename = QStringLiteral("Are you sure to rename \"%1\" template to \"%2\"?");
}  // namespace templatetexts
