// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/IconResources.h"

#include <QtGlobal>

void EnsureIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}
