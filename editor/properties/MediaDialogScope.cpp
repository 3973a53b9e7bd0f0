// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/MediaDialogScope.h"

#include "app/KestruneDoc.h"
#include "app/UndoTexts.h"
#include "model/AppletParameters.h"

using namespace kestrune;

MediaPaths ImagePaths(std::string normal, std::string over, std::string click) {
    return {undotexts::kChangeImages, ImageFieldValues(std::move(normal), std::move(over), std::move(click))};
}

MediaPaths AudioPaths(std::string over, std::string click) {
    return {undotexts::kChangeSounds, AudioFieldValues(std::move(over), std::move(click))};
}

bool ApplyMedia(CKestruneDoc& doc, CVoraneItem* item, ApplyScope scope, const MediaPaths& paths) {
    const ScopeTarget target = TargetOfScope(doc.Applet(), item, scope);
    if (target.IsEmpty()) return false;
    return doc.EditProperties(
        [&] {
            if (!MediaDiffers(target, paths.values)) return false;
            StoreMedia(target, paths.values);
            return true;
        },
        target.changedMenu, target.item, paths.stepName,
        scope == ApplyScope::ThisItem ? CKestruneDoc::Reach::NamedObjects : CKestruneDoc::Reach::Anything);
}
