// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

class CArchive;
class CVorane;
class CVoraneItem;

// The clipboard record of a menu or an item with everything below it. The tree is walked
// with an explicit stack, so a record as deep as any model allows costs no call depth.
void StoreMenuRecord(CArchive& ar, const CVorane& menu);
void LoadMenuRecord(CArchive& ar, CVorane& menu);
void StoreItemRecord(CArchive& ar, const CVoraneItem& item);
void LoadItemRecord(CArchive& ar, CVoraneItem& item);

}  // namespace kestrune
