// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "model/Archive.h"
#include "model/Vorane.h"
#include "model/VoraneItem.h"

// Reading a damaged clipboard block must not allocate what the block merely claims.
// Every allocation of this test program passes through here; a probe records the
// largest one while it is armed.
namespace {
std::atomic<bool> g_probeArmed{false};
std::atomic<std::size_t> g_largestAllocation{0};
}  // namespace

void* operator new(std::size_t size) {
    if (g_probeArmed.load(std::memory_order_relaxed)) {
        std::size_t seen = g_largestAllocation.load(std::memory_order_relaxed);
        while (size > seen && !g_largestAllocation.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
// Kept out of line: inlined into callers, the free() would look mismatched to the compiler.
[[gnu::noinline]] void operator delete(void* block) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept { std::free(block); }

using namespace kestrune;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Writes the archive form by hand, independently of CArchive.
class ByteWriter {
public:
    ByteWriter& U8(std::uint8_t v) { m_bytes.push_back(v); return *this; }
    ByteWriter& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    ByteWriter& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteWriter& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    ByteWriter& Raw(const std::string& s) { m_bytes.insert(m_bytes.end(), s.begin(), s.end()); return *this; }
    ByteWriter& Str(const std::string& s) { return U8(static_cast<std::uint8_t>(s.size())).Raw(s); }
    ByteWriter& NewClass(const std::string& name) {
        return U16(0xFFFF).U16(1).U16(static_cast<std::uint16_t>(name.size())).Raw(name);
    }
    ByteWriter& ItemTexts(const std::string& label) {
        Str(label);
        for (int i = 0; i < 8; ++i) Str("");
        return I32(1);
    }
    // A default-styled menu record up to and including its item count.
    ByteWriter& DefaultMenu(std::int32_t itemCount) {
        Str("Menu");
        for (std::int32_t v : {0, 0, 0, 0, 40, 15, 80, 20, 5, 0}) I32(v);
        for (int state = 0; state < 3; ++state) {
            for (std::int32_t v : {0, 0xFFFFFF, 0, 1, 1, 0, 0, 14, 0, 0, 0, 0, 0}) I32(v);
            Str("");
        }
        return I32(1).I32(itemCount);
    }
    const Bytes& Get() const { return m_bytes; }

private:
    Bytes m_bytes;
};

// "Top" holding "One" and "Two", none of which has items.
ByteWriter TwoItemExample() {
    ByteWriter w;
    w.ItemTexts("Top").NewClass("CVorane").DefaultMenu(2);
    w.NewClass("CVoraneItem").ItemTexts("One").U16(0x8001).DefaultMenu(0);
    w.U16(0x8003).ItemTexts("Two").U16(0x8001).DefaultMenu(0);
    return w;
}

std::unique_ptr<CVoraneItem> Read(const Bytes& bytes, std::string* error = nullptr) {
    return ReadItemRecord(bytes.data(), bytes.size(), error);
}

// An item whose every field differs from its default, with two levels below it.
std::unique_ptr<CVoraneItem> RichItem(bool withLongLabel = true) {
    auto item = std::make_unique<CVoraneItem>("Top\r\nline");
    item->m_description = "desc, with comma";
    item->m_normalImage = "/a/n.gif";
    item->m_overImage = "/a/o.gif";
    item->m_clickImage = "/a/c.gif";
    item->m_overAudio = "/a/o.au";
    item->m_clickAudio = "/a/c.au";
    item->m_target = "_blank";
    item->m_link = std::string(300, 'L');
    item->m_visible = 0;
    CVorane& sub = *item->m_subMenu;
    sub.m_name = "styled";
    sub.m_BKColor = 0x123456;
    sub.m_BKStyle = 3;
    sub.m_MenuAlign = 1;
    sub.m_Corner = 2;
    sub.m_xPos = -7;
    sub.m_yPos = -2147483647 - 1;
    sub.m_Width = 2147483647;
    sub.m_Height = 1;
    sub.m_ItemGap = 0;
    sub.m_BorderThick = 9;
    sub.m_itemStyle[1].FontSize = 99;
    sub.m_itemStyle[2].Spare = "spare";
    sub.m_visible = 0;
    sub.SetItemCount(3, 0);
    sub.GetItem(1)->m_subMenu->SetItemCount(2, 0);
    if (withLongLabel) sub.GetItem(1)->m_subMenu->GetItem(0)->m_label = std::string(70000, 'x');
    return item;
}

}  // namespace

TEST(ArchiveTest, TwoItemRecordHasTheExactLayout) {
    CVoraneItem top("Top");
    top.m_subMenu->AddItem(std::make_unique<CVoraneItem>("One"), 0);
    top.m_subMenu->AddItem(std::make_unique<CVoraneItem>("Two"), 0);
    EXPECT_EQ(WriteItemRecord(top), TwoItemExample().Get());

    const auto read = Read(TwoItemExample().Get());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->m_label, "Top");
    ASSERT_EQ(read->m_subMenu->CountItems(1), 2);
    EXPECT_EQ(read->m_subMenu->GetItem(1)->m_label, "Two");
}

TEST(ArchiveTest, RoundTripKeepsEveryFieldAndTheWholeSubtree) {
    const auto original = RichItem();
    const Bytes bytes = WriteItemRecord(*original);
    std::string error;
    const auto copy = Read(bytes, &error);
    ASSERT_TRUE(copy) << error;
    // The exact layout is pinned above; equal bytes then mean every field came back.
    EXPECT_EQ(WriteItemRecord(*copy), bytes);
    EXPECT_EQ(copy->m_subMenu->m_itemStyle[2].Spare, "spare");
    EXPECT_EQ(copy->m_subMenu->m_yPos, original->m_subMenu->m_yPos);
    EXPECT_EQ(copy->m_subMenu->GetItem(1)->m_subMenu->GetItem(0)->m_label.size(), 70000u);

    // A clipboard block is padded; what follows the record is ignored.
    Bytes padded = bytes;
    padded.resize(bytes.size() + 4096, 0);
    ASSERT_TRUE(Read(padded));
}

TEST(ArchiveTest, StringLengthsSwitchPrefixFormAtTheirLimits) {
    const std::vector<std::pair<std::size_t, Bytes>> prefixes = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& [length, prefix] : prefixes) {
        CVoraneItem item(std::string(length, 'a'));
        const Bytes bytes = WriteItemRecord(item);
        ASSERT_GE(bytes.size(), prefix.size() + length);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(prefix.size())), prefix)
            << length;
        const auto read = Read(bytes);
        ASSERT_TRUE(read) << length;
        EXPECT_EQ(read->m_label.size(), length);
    }
}

TEST(ArchiveTest, LongReferenceFormIsAccepted) {
    // 0x7FFF followed by 0x80000000 | class index names a known class too.
    ByteWriter w;
    w.ItemTexts("Top").NewClass("CVorane").DefaultMenu(1);
    w.NewClass("CVoraneItem").ItemTexts("One").U16(0x7FFF).U32(0x80000001).DefaultMenu(0);
    const auto read = Read(w.Get());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->m_subMenu->GetItem(0)->m_label, "One");
}

TEST(ArchiveTest, ForeignClassesSchemasAndReferencesAreRefused) {
    auto expectRefused = [](const ByteWriter& w, const char* why) {
        std::string error;
        EXPECT_FALSE(Read(w.Get(), &error)) << why;
        EXPECT_FALSE(error.empty()) << why;
    };
    ByteWriter wrongName;
    wrongName.ItemTexts("Top").NewClass("CVoraneX").DefaultMenu(0);
    expectRefused(wrongName, "unknown class name");

    ByteWriter swapped;
    swapped.ItemTexts("Top").NewClass("CVoraneItem").DefaultMenu(0);
    expectRefused(swapped, "an item where the menu belongs");

    ByteWriter schema;
    schema.ItemTexts("Top").U16(0xFFFF).U16(2).U16(7).Raw("CVorane").DefaultMenu(0);
    expectRefused(schema, "schema 2");

    for (std::uint16_t tag : {0x0000, 0x0001, 0x0002, 0x7FFE, 0x8001, 0x8000, 0x8003}) {
        ByteWriter reference;
        reference.ItemTexts("Top").U16(tag).DefaultMenu(0);
        expectRefused(reference, "tag before any class is known");
    }

    ByteWriter itemAsMenuClass;
    itemAsMenuClass.ItemTexts("Top").NewClass("CVorane").DefaultMenu(1);
    itemAsMenuClass.U16(0x8001).ItemTexts("One").U16(0x8001).DefaultMenu(0);
    expectRefused(itemAsMenuClass, "a menu class reference where an item belongs");

    // 0xFFFE after 0xFF marks wide characters, never a length of this program's texts.
    ByteWriter wide;
    wide.U8(0xFF).U16(0xFFFE).Raw(std::string(65534, 'w'));
    for (int i = 0; i < 8; ++i) wide.Str("");
    wide.I32(1).NewClass("CVorane").DefaultMenu(0);
    expectRefused(wide, "wide-character text");

    ByteWriter negativeCount;
    negativeCount.ItemTexts("Top").NewClass("CVorane").DefaultMenu(-1);
    expectRefused(negativeCount, "negative item count");
}

TEST(ArchiveTest, EveryCutOffBlockFailsCleanly) {
    const Bytes whole = WriteItemRecord(*RichItem(false));
    ASSERT_TRUE(Read(whole));
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        std::string error;
        EXPECT_FALSE(Read(cut, &error)) << "cut at " << length;
    }
    EXPECT_FALSE(ReadItemRecord(nullptr, 100));
    EXPECT_FALSE(ReadItemRecord(nullptr, 0));
}

TEST(ArchiveTest, ClaimedSizesBeyondTheBlockAllocateNothingLarge) {
    struct Case {
        const char* what;
        ByteWriter block;
    };
    std::vector<Case> cases;
    cases.push_back({"4 GB label", ByteWriter().U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0)});
    cases.push_back({"64 KB label", ByteWriter().U8(0xFF).U16(0xFFFD).Raw("abc")});
    cases.push_back({"long class name", ByteWriter().ItemTexts("Top").U16(0xFFFF).U16(1).U16(0xFFFF).Raw("CV")});
    ByteWriter manyItems;
    manyItems.ItemTexts("Top").NewClass("CVorane").DefaultMenu(0x7FFFFFFF);
    cases.push_back({"2^31 items", manyItems});
    ByteWriter someItems;
    someItems.ItemTexts("Top").NewClass("CVorane").DefaultMenu(100000).NewClass("CVoraneItem").ItemTexts("One");
    cases.push_back({"100000 items in a short block", someItems});

    for (const Case& c : cases) {
        const Bytes& bytes = c.block.Get();
        g_largestAllocation = 0;
        g_probeArmed = true;
        const auto read = Read(bytes);
        g_probeArmed = false;
        EXPECT_FALSE(read) << c.what;
        // A few objects of the model may be made; nothing sized by the claim.
        EXPECT_LT(g_largestAllocation.load(), 4096u) << c.what;
    }
}

TEST(ArchiveTest, NestingFarBeyondAnyMenuTreeIsRefusedWithoutExhaustingTheStack) {
    // Each level is an item record whose sub menu holds one item: build it by hand.
    constexpr int kLevels = 20000;
    ByteWriter w;
    w.ItemTexts("0").NewClass("CVorane").DefaultMenu(1).NewClass("CVoraneItem");
    for (int level = 1; level < kLevels; ++level) w.ItemTexts("x").U16(0x8001).DefaultMenu(1).U16(0x8003);
    w.ItemTexts("last").U16(0x8001).DefaultMenu(0);
    std::string error;
    EXPECT_FALSE(Read(w.Get(), &error));
    EXPECT_FALSE(error.empty());

    // A deep but sensible tree reads back.
    CVoraneItem root("root");
    CVoraneItem* current = &root;
    for (int level = 0; level < 500; ++level) current = current->m_subMenu->InsertNewItem();
    const auto read = Read(WriteItemRecord(root));
    ASSERT_TRUE(read);
    int depth = 0;
    for (const CVoraneItem* item = read.get(); item->m_subMenu->CountItems(1) == 1;
         item = item->m_subMenu->GetItem(0))
        ++depth;
    EXPECT_EQ(depth, 500);
}
