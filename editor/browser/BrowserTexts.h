#pragma once

#include <QString>

// Fixed texts of the Web Browser dialog and the preview.
namespace browsertexts {

inline const QString kMustSpecifyBrowser = QStringLiteral("You must specify the web browser's execute file!");
inline const QString kChooseProgramCaption = QStringLiteral("Open");
// Programs here carry no ".EXE" ending, so the chooser shows every file under that label.
inline const QString kProgramFilter = QStringLiteral("Web Browser (*)");

}  // namespace browsertexts
