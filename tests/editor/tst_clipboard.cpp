// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

#include "clipboard/ItemClipboard.h"
#include "tree/TreeTransfer.h"
#include "model/Archive.h"
#include "support/EditorFixture.h"
#include "support/TreeModelAgreement.h"
#include "tree/TreeNodes.h"

using namespace kestrune;

namespace {

// Little-endian archive bytes written by hand, independent of the archive code.
class Bytes {
public:
    Bytes& U16(std::uint16_t v) {
        m_data.append(char(v & 0xFF)).append(char(v >> 8));
        return *this;
    }
    Bytes& I32(std::int32_t v) {
        for (int shift = 0; shift < 32; shift += 8) m_data.append(char((std::uint32_t(v) >> shift) & 0xFF));
        return *this;
    }
    Bytes& Str(const QByteArray& text) {
        m_data.append(char(text.size())).append(text);
        return *this;
    }
    Bytes& Class(const QByteArray& name) {
        U16(0xFFFF).U16(1).U16(std::uint16_t(name.size()));
        m_data.append(name);
        return *this;
    }
    const QByteArray& Data() const { return m_data; }

private:
    QByteArray m_data;
};

// Every menu field and every style field gets its own value, so a field out of order shows.
void StyleMenu(CVorane& menu, int seed) {
    std::int32_t* fields[] = {&menu.m_BKColor, &menu.m_BKStyle, &menu.m_MenuAlign, &menu.m_Corner, &menu.m_xPos,
                              &menu.m_yPos,    &menu.m_Width,   &menu.m_Height,    &menu.m_ItemGap, &menu.m_BorderThick};
    int value = seed;
    for (std::int32_t* field : fields) *field = value++;
    for (ItemStyle& style : menu.m_itemStyle) {
        std::int32_t* styleFields[] = {&style.BKColor,   &style.FRColor,           &style.ItemBorderStyle,
                                       &style.ItemFillStyle, &style.GradientDirection, &style.FontEffect,
                                       &style.FontName,  &style.FontSize,          &style.FontStyle,
                                       &style.TextAlign, &style.TextOffset,        &style.ImageAlign,
                                       &style.ImageOffset};
        for (std::int32_t* field : styleFields) *field = value++;
        style.Spare = "sp" + std::to_string(value);
    }
}

void AppendMenuRecord(Bytes& bytes, const CVorane& menu, int itemCount) {
    bytes.Str(QByteArray::fromStdString(menu.m_name));
    for (std::int32_t v : {menu.m_BKColor, menu.m_BKStyle, menu.m_MenuAlign, menu.m_Corner, menu.m_xPos, menu.m_yPos,
                           menu.m_Width, menu.m_Height, menu.m_ItemGap, menu.m_BorderThick})
        bytes.I32(v);
    for (const ItemStyle& s : menu.m_itemStyle) {
        for (std::int32_t v : {s.BKColor, s.FRColor, s.ItemBorderStyle, s.ItemFillStyle, s.GradientDirection,
                               s.FontEffect, s.FontName, s.FontSize, s.FontStyle, s.TextAlign, s.TextOffset,
                               s.ImageAlign, s.ImageOffset})
            bytes.I32(v);
        bytes.Str(QByteArray::fromStdString(s.Spare));
    }
    bytes.I32(menu.m_visible).I32(itemCount);
}

void AppendItemStrings(Bytes& bytes, const CVoraneItem& item) {
    for (const std::string* text : {&item.m_label, &item.m_description, &item.m_normalImage, &item.m_overImage,
                                    &item.m_clickImage, &item.m_overAudio, &item.m_clickAudio, &item.m_target,
                                    &item.m_link})
        bytes.Str(QByteArray::fromStdString(*text));
    bytes.I32(item.m_visible);
}

// A fingerprint of the whole model: every menu's archive record.
QByteArray ModelBytes(CAppletParameters& applet) {
    CArchive ar = CArchive::ForWriting();
    for (auto& menu : applet.m_menus) menu->Serialize(ar);
    return QByteArray(reinterpret_cast<const char*>(ar.Bytes().data()), qsizetype(ar.Bytes().size()));
}

QClipboard* Clipboard() { return QGuiApplication::clipboard(); }

void PutOnClipboard(const QByteArray& block) {
    auto* data = new QMimeData;
    data->setData(CItemClipboard::Format(), block);
    Clipboard()->setMimeData(data);
}

}  // namespace

class ClipboardTest : public QObject {
    Q_OBJECT

    // Menu A: A1 (sub menu A1a, A1b), A2, A3 (hidden). Menu B: B1 (sub menu B1a (sub menu B1ax)).
    struct Model {
        CVorane* a;
        CVorane* b;
        CVoraneItem *a1, *a1a, *a1b, *a2, *a3, *b1, *b1a, *b1ax;
    };
    static Model Fill(CAppletParameters& applet) {
        Model m{};
        m.a = AddMenu(applet, "A");
        m.b = AddMenu(applet, "B");
        m.a1 = AddItem(*m.a, "A1");
        m.a2 = AddItem(*m.a, "A2");
        m.a3 = AddItem(*m.a, "A3", 0);
        m.a1a = AddItem(*m.a1->m_subMenu, "A1a");
        m.a1b = AddItem(*m.a1->m_subMenu, "A1b");
        m.b1 = AddItem(*m.b, "B1");
        m.b1a = AddItem(*m.b1->m_subMenu, "B1a");
        m.b1ax = AddItem(*m.b1a->m_subMenu, "B1ax");
        return m;
    }

private slots:
    void clipboardBlockOfAnItemWithTwoPlainSubItems() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        m.a1->m_description = "the description";
        m.a1->m_normalImage = "n.gif";
        m.a1->m_overImage = "o.gif";
        m.a1->m_clickImage = "c.jpg";
        m.a1->m_overAudio = "o.au";
        m.a1->m_clickAudio = "c.au";
        m.a1->m_target = "_blank";
        m.a1->m_link = "http://example.org/";
        m.a1->m_label = "Line one\r\nLine two";
        m.a1b->m_visible = 0;
        StyleMenu(*m.a1->m_subMenu, 100);
        StyleMenu(*m.a1a->m_subMenu, 300);
        StyleMenu(*m.a1b->m_subMenu, 500);

        Bytes expected;
        AppendItemStrings(expected, *m.a1);
        expected.Class("CVorane");
        AppendMenuRecord(expected, *m.a1->m_subMenu, 2);
        expected.Class("CVoraneItem");
        AppendItemStrings(expected, *m.a1a);
        expected.U16(0x8001);
        AppendMenuRecord(expected, *m.a1a->m_subMenu, 0);
        expected.U16(0x8003);
        AppendItemStrings(expected, *m.a1b);
        expected.U16(0x8001);
        AppendMenuRecord(expected, *m.a1b->m_subMenu, 0);

        Clipboard()->setText(QStringLiteral("something else"));
        f.view.SelectNode(f.Node(m.a1));
        f.view.OnEditCopy();
        const QMimeData* data = Clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->formats(), QStringList{CItemClipboard::Format()});  // nothing else, no text
        QCOMPARE(data->data(CItemClipboard::Format()), expected.Data());
        QVERIFY(!f.doc.IsModified());
    }

    void enablingFollowsSelectionAndClipboard() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        CTreeTransfer& transfer = f.view.Transfer();
        Clipboard()->setText(QStringLiteral("plain text"));
        f.view.SelectNode(f.view.RootNode());
        QVERIFY(!transfer.CanCutOrCopy());
        QVERIFY(!transfer.CanPaste());
        f.view.SelectNode(f.Node(m.a));
        QVERIFY(!transfer.CanCutOrCopy());
        QVERIFY(!transfer.CanPaste());
        QVERIFY(!f.view.ClipboardHasItem());
        f.view.SelectNode(f.Node(m.a3));
        QVERIFY(transfer.CanCutOrCopy());

        f.view.OnEditCopy();
        QVERIFY(f.view.ClipboardHasItem());
        QVERIFY(transfer.CanPaste());
        f.view.SelectNode(f.Node(m.b));
        QVERIFY(transfer.CanPaste());
        f.view.SelectNode(f.view.RootNode());
        QVERIFY(!transfer.CanPaste());

        // Cut and Copy on the root or a top-level menu do nothing.
        const QByteArray before = ModelBytes(f.Applet());
        Clipboard()->setText(QStringLiteral("keep me"));
        f.view.OnEditCopy();
        f.view.OnEditCut();
        f.view.SelectNode(f.Node(m.a));
        f.view.OnEditCut();
        QCOMPARE(Clipboard()->text(), QStringLiteral("keep me"));
        QCOMPARE(ModelBytes(f.Applet()), before);
        QVERIFY(!f.doc.IsModified());
    }

    void pasteOntoTopLevelMenuPutsAnIndependentCopyFirst() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        f.view.SelectNode(f.Node(m.a1));
        f.view.OnEditCopy();
        f.view.SelectNode(f.Node(m.b));
        f.view.OnEditPaste();

        QCOMPARE(m.b->m_items.size(), std::size_t(2));
        CVoraneItem* copy = m.b->m_items.front().get();
        QVERIFY(copy != m.a1);
        QCOMPARE(copy->m_label, std::string("A1"));
        QCOMPARE(copy->m_subMenu->m_items.size(), std::size_t(2));
        QVERIFY(copy->m_subMenu.get() != m.a1->m_subMenu.get());
        copy->m_subMenu->m_items.front()->m_label = "changed";
        QCOMPARE(m.a1a->m_label, std::string("A1a"));

        QModelIndex menuNode = f.Node(m.b);
        QCOMPARE(f.view.SelectedNode(), treenodes::ChildOfNode(menuNode, 0));
        QCOMPARE(treenodes::ObjectOfNode(treenodes::ChildOfNode(menuNode, 0)), static_cast<const void*>(copy));
        QVERIFY(f.view.isExpanded(menuNode));
        QVERIFY(!f.view.isExpanded(treenodes::ChildOfNode(menuNode, 0)));
        QVERIFY(f.doc.IsModified());
        copy->m_subMenu->m_items.front()->m_label = "A1a";
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void pasteOntoAnItemWithSubMenuPutsTheCopyFirstInIt() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        f.view.SelectNode(f.Node(m.a2));
        f.view.OnEditCopy();
        f.view.SelectNode(f.Node(m.b1));
        f.view.OnEditPaste();
        QCOMPARE(m.b1->m_subMenu->m_items.size(), std::size_t(2));
        QCOMPARE(m.b1->m_subMenu->m_items.front()->m_label, std::string("A2"));
        QCOMPARE(treenodes::GetNodePicture(f.Node(m.b1)), int(treenodes::kPictureSubMenuItem));
        QCOMPARE(f.view.SelectedNode(), treenodes::ChildOfNode(f.Node(m.b1), 0));
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void pasteOntoPlainItemGivesItAStyledSubMenu_data() {
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("picture");
        QTest::newRow("visible") << 1 << 3;
        QTest::newRow("hidden") << 0 << 4;
    }
    void pasteOntoPlainItemGivesItAStyledSubMenu() {
        QFETCH(int, visible);
        QFETCH(int, picture);
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        m.a2->m_visible = visible;
        StyleMenu(*m.a1->m_subMenu, 700);  // the first non-empty menu at the level A2's sub menu gets
        f.view.RebuildTree();

        f.view.SelectNode(f.Node(m.b1ax));
        f.view.OnEditCopy();
        QModelIndex target = f.Node(m.a2);
        f.view.SelectNode(target);
        f.view.OnEditPaste();

        QCOMPARE(treenodes::GetNodePicture(target), picture);
        QCOMPARE(m.a2->m_subMenu->m_items.size(), std::size_t(1));
        QCOMPARE(m.a2->m_subMenu->m_items.front()->m_label, std::string("B1ax"));
        QCOMPARE(m.a2->m_subMenu->m_BKColor, m.a1->m_subMenu->m_BKColor);
        QCOMPARE(m.a2->m_subMenu->m_itemStyle[2].ImageOffset, m.a1->m_subMenu->m_itemStyle[2].ImageOffset);
        QVERIFY(f.view.isExpanded(target));
        QCOMPARE(f.view.SelectedNode(), treenodes::ChildOfNode(target, 0));
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void pasteOfDamagedDataChangesNothing_data() {
        QTest::addColumn<QByteArray>("block");
        EditorFixture source;
        CVoraneItem item("Good");
        AddItem(*item.m_subMenu, "child");
        const std::vector<std::uint8_t> raw = WriteItemRecord(item);
        const QByteArray good(reinterpret_cast<const char*>(raw.data()), qsizetype(raw.size()));

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("another program's bytes") << QByteArray("<html><body>hello, world</body></html>");
        QTest::newRow("cut off at the end") << good.left(good.size() - 3);
        QTest::newRow("cut off in the strings") << good.left(7);
        QByteArray wrongClass = good;
        wrongClass.replace("CVoraneItem", "CVoraneIteX");
        QTest::newRow("wrong item class") << wrongClass;
        QByteArray wrongMenuClass = good;
        wrongMenuClass.replace(QByteArray("\x07\x00" "CVorane", 9), QByteArray("\x07\x00" "CMenuXX", 9));
        QTest::newRow("wrong menu class") << wrongMenuClass;
        QByteArray wrongSchema = good;
        const qsizetype tag = wrongSchema.indexOf(QByteArray("\xFF\xFF\x01\x00", 4));
        wrongSchema[tag + 2] = 2;
        QTest::newRow("wrong schema") << wrongSchema;
        QByteArray hugeCount = good;
        // The sub menu's item count claims far more items than the block holds.
        hugeCount.replace(hugeCount.indexOf(QByteArray("\xFF\xFF\x01\x00\x0B\x00", 6)) - 4, 4,
                          QByteArray("\xFF\xFF\xFF\x7F", 4));
        QTest::newRow("item count beyond the block") << hugeCount;
    }
    void pasteOfDamagedDataChangesNothing() {
        QFETCH(QByteArray, block);
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        const QByteArray before = ModelBytes(f.Applet());
        PutOnClipboard(block);
        QVERIFY(f.view.ClipboardHasItem());
        for (const void* target : {static_cast<const void*>(m.a), static_cast<const void*>(m.b1),
                                   static_cast<const void*>(m.a2)}) {
            QModelIndex node = f.Node(target);
            f.view.SelectNode(node);
            f.view.OnEditPaste();
            QCOMPARE(f.view.SelectedNode(), node);
            QVERIFY(!f.view.isExpanded(node));
        }
        QCOMPARE(ModelBytes(f.Applet()), before);
        QCOMPARE(treenodes::GetNodePicture(f.Node(m.a2)), int(treenodes::kPicturePlainItem));
        QVERIFY(!f.doc.IsModified());
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void validBlockWithTrailingBytesIsPasted() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        CVoraneItem item("Tail");
        const std::vector<std::uint8_t> raw = WriteItemRecord(item);
        PutOnClipboard(QByteArray(reinterpret_cast<const char*>(raw.data()), qsizetype(raw.size())) +
                       QByteArray(4096, '\0'));
        f.view.SelectNode(f.Node(m.a));
        f.view.OnEditPaste();
        QCOMPARE(m.a->m_items.front()->m_label, std::string("Tail"));
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void cutOfTheLastSubItemRestoresTheParentsPicture_data() {
        QTest::addColumn<int>("parentVisible");
        QTest::addColumn<int>("picture");
        QTest::newRow("visible parent") << 1 << 5;
        QTest::newRow("hidden parent") << 0 << 6;
    }
    void cutOfTheLastSubItemRestoresTheParentsPicture() {
        QFETCH(int, parentVisible);
        QFETCH(int, picture);
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        m.b1a->m_visible = parentVisible;
        f.view.RebuildTree();
        f.doc.m_pCurItem = m.b1ax;
        f.doc.m_pCurMenu = m.b1a->m_subMenu.get();

        f.view.SelectNode(f.Node(m.b1ax));
        f.view.OnEditCut();

        QModelIndex parent = f.Node(m.b1a);
        QCOMPARE(treenodes::GetNodePicture(parent), picture);
        QCOMPARE(f.view.SelectedNode(), parent);
        QCOMPARE(treenodes::ChildCountOfNode(parent), 0);
        QVERIFY(m.b1a->m_subMenu->m_items.empty());
        QVERIFY(!f.doc.m_pCurItem);
        QVERIFY(!f.doc.m_pCurMenu);
        QVERIFY(f.doc.IsModified());
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());

        // What was cut comes back by Paste.
        f.view.SelectNode(f.Node(m.a));
        f.view.OnEditPaste();
        QCOMPARE(m.a->m_items.front()->m_label, std::string("B1ax"));
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void cutKeepsTheEditedItemWhenItIsElsewhere() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        f.doc.m_pCurItem = m.a1a;
        f.doc.m_pCurMenu = m.a1->m_subMenu.get();
        f.view.SelectNode(f.Node(m.b1));  // takes B1a and B1ax with it
        f.view.OnEditCut();
        QCOMPARE(f.doc.m_pCurItem, m.a1a);
        QVERIFY(m.b->m_items.empty());
        QCOMPARE(f.view.SelectedNode(), f.Node(m.b));
        QCOMPARE(treenodes::GetNodePicture(f.Node(m.b)), int(treenodes::kPictureMenu));
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());

        // Cutting the item that holds the edited one forgets it.
        f.view.SelectNode(f.Node(m.a1));
        f.view.OnEditCut();
        QVERIFY(!f.doc.m_pCurItem);
        QVERIFY(!f.doc.m_pCurMenu);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void pasteSurvivesTheClipboardOwnerChanging() {
        // The clipboard holds bytes, not pointers: a paste after the source is gone still works.
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        f.view.SelectNode(f.Node(m.a1));
        f.view.OnEditCopy();
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        f.view.SelectNode(f.Node(m.a3));
        f.view.OnEditPaste();
        QCOMPARE(m.a3->m_subMenu->m_items.front()->m_subMenu->m_items.size(), std::size_t(2));
        QCOMPARE(treenodes::GetNodePicture(f.Node(m.a3)), 4);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }
};

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
