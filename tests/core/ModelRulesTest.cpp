// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's "Apply to" scopes and the style a new sub menu takes, as plain model rules.

#include <gtest/gtest.h>

#include "OutputTestSupport.h"
#include "model/MediaScope.h"
#include "model/SubMenuStyle.h"

using namespace kestrune;
using namespace kestrune::test;

TEST(MediaScopeTest, EachScopeReachesItsItemsAndNothingElse) {
    CAppletParameters applet;
    CVorane& a = AddTopMenu(applet, {"a1", "a2"});
    CVorane& sub = ItemAt(a, 0).SubMenu();
    AddItems(sub, {"s1"});
    ItemAt(sub, 0).m_visible = 0;
    CVorane& b = AddTopMenu(applet, {"b1"});
    const MediaFieldValues images = ImageFieldValues("n.gif", "o.gif", "c.gif");

    ScopeTarget target = TargetOfScope(applet, &ItemAt(a, 1), ApplyScope::ThisItem);
    ASSERT_TRUE(MediaDiffers(target, images));
    StoreMedia(target, images);
    EXPECT_EQ(ItemAt(a, 1).m_clickImage, "c.gif");
    EXPECT_EQ(ItemAt(a, 0).m_normalImage, "");
    EXPECT_FALSE(MediaDiffers(target, images));  // the same values again change nothing

    target = TargetOfScope(applet, &ItemAt(a, 0), ApplyScope::SameMenu);
    EXPECT_EQ(target.changedMenu, &a);
    StoreMedia(target, images);
    EXPECT_EQ(ItemAt(a, 0).m_overImage, "o.gif");
    EXPECT_EQ(ItemAt(sub, 0).m_overImage, "");  // not the sub menus
    EXPECT_EQ(ItemAt(b, 0).m_overImage, "");

    const MediaFieldValues sounds = AudioFieldValues("over.au", "");
    target = TargetOfScope(applet, &ItemAt(sub, 0), ApplyScope::AllItems);
    EXPECT_EQ(target.changedMenu, nullptr);
    ASSERT_TRUE(MediaDiffers(target, sounds));
    StoreMedia(target, sounds);
    for (const CVoraneItem* item : {&ItemAt(a, 0), &ItemAt(a, 1), &ItemAt(sub, 0), &ItemAt(b, 0)})
        EXPECT_EQ(item->m_overAudio, "over.au");  // hidden and deep items too
    EXPECT_FALSE(MediaDiffers(target, sounds));

    EXPECT_TRUE(TargetOfScope(applet, nullptr, ApplyScope::AllItems).IsEmpty());
    EXPECT_TRUE(TargetOfScope(applet, &ItemAt(a, 0), ApplyScope::None).IsEmpty());
    CVoraneItem stray("stray");
    EXPECT_TRUE(TargetOfScope(applet, &stray, ApplyScope::SameMenu).IsEmpty());
}

TEST(SubMenuStyleTest, ANewSubMenuLooksLikeItsLevelElseItsParent) {
    CAppletParameters applet;
    CVorane& top = AddTopMenu(applet, {"plain", "opener"});
    EXPECT_EQ(SubMenuStyleSource(applet, 1, &ItemAt(top, 0)), &top);  // no menu at depth 1 yet
    CVorane& level1 = ItemAt(top, 1).SubMenu();
    AddItems(level1, {"x"});
    EXPECT_EQ(SubMenuStyleSource(applet, 1, &ItemAt(top, 0)), &level1);
    EXPECT_EQ(SubMenuStyleSource(applet, 0, nullptr), &top);
    EXPECT_EQ(SubMenuStyleSource(applet, 5, nullptr), nullptr);
}
