// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "persist/PersistTexts.h"
#include "common/MemorySettingsStore.h"
#include "services/TemplateStore.h"
#include "support/FakeDialogService.h"
#include "support/ProgramFixture.h"
#include "templates/DlgManageTemplates.h"
#include "templates/DlgNew.h"
#include "templates/DlgSaveAsTemplate.h"
#include "ui_dlg_manage_templates.h"
#include "ui_dlg_new.h"
#include "ui_dlg_save_as_template.h"

using namespace kestrune;

namespace {
const QString kExists = QStringLiteral("the template has already existed!Please change a name.");
const QString kSelectFirst = QStringLiteral("Please select a template first!");
const QString kGiveNewName = QStringLiteral("Please give a new name for the template!");

QStringList Entries(const QListWidget* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    return entries;
}

std::vector<std::string> Names(std::initializer_list<const char*> names) { return {names.begin(), names.end()}; }
}  // namespace

class TemplatesTest : public QObject {
    Q_OBJECT

    // A template store over a private copy of the shipped template file.
    struct Store {
        QTemporaryDir folder;
        MemorySettingsStore settings;
        FakeDialogService dialogs;
        std::unique_ptr<CTemplateStore> store;

        explicit Store(const char* list = nullptr) {
            QFile::copy(QStringLiteral(KESTRUNE_BIN_DIR "/Kestrune.tpl"), folder.filePath(QStringLiteral("Kestrune.tpl")));
            if (list) settings.SetString("TEMPLATE", "TemplateKey", list);
            store = std::make_unique<CTemplateStore>(settings, folder.path().toLocal8Bit().toStdString());
            store->SeedTemplateList();
        }
        std::string List() const { return settings.GetString("TEMPLATE", "TemplateKey"); }
    };

private slots:
    void newDialogPreselectsTheFirstTemplate() {
        FakeDialogService dialogs;
        CDlgNew dialog(Names({"Normal", "Group Buttons"}), dialogs);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("New Vorane"));
        QCOMPARE(Entries(dialog.Form().templatesList), QStringList({"Normal", "Group Buttons"}));
        QCOMPARE(dialog.Form().templatesList->currentRow(), 0);
        dialog.Form().templatesList->setCurrentRow(1);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenPosition(), 1);
        QVERIFY(dialogs.messages.isEmpty());
    }

    // New Vorane shows a picture of the selected template's menus beside the list.
    void newDialogShowsAPictureOfTheSelectedTemplate() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QList<QImage> pictures;
        program.dialogs.onDialog = [&pictures](QDialog* dialog) {
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("templatesList"));
            auto* picture = dialog->findChild<QLabel*>(QStringLiteral("templatePicture"));
            for (int row : {0, 1, 0})
                if (picture && picture->isVisibleTo(dialog)) {
                    list->setCurrentRow(row);
                    pictures << picture->pixmap().toImage();
                }
            return int(QDialog::Rejected);
        };
        program.Trigger(cmd::FileNew);
        QCOMPARE(pictures.size(), 3);
        QSet<QRgb> colours;
        for (int y = 0; y < pictures[0].height(); ++y)
            for (int x = 0; x < pictures[0].width(); ++x) colours.insert(pictures[0].pixel(x, y));
        QVERIFY2(colours.size() > 8, "a drawing of menus, not a blank");
        QVERIFY(pictures[0] != pictures[1]);
        QCOMPARE(pictures[2], pictures[0]);
    }

    void newDialogWithNothingChosenStillStartsFromNoTemplate() {
        FakeDialogService dialogs;
        CDlgNew dialog({}, dialogs);
        dialog.accept();
        QCOMPARE(dialogs.messages, QStringList{QStringLiteral("Please select a template to new a Vorane!")});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenPosition(), -1);
    }

    void saveAsTemplateRefusesEmptyAndTakenNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << QStringLiteral("The template name must not be null!");
        QTest::newRow("other case") << QStringLiteral("normal") << kExists;
        QTest::newRow("beginning of a name") << QStringLiteral("Hot") << kExists;
    }
    void saveAsTemplateRefusesEmptyAndTakenNames() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        FakeDialogService dialogs;
        CDlgSaveAsTemplate dialog(Names({"Normal", "Hot Spot"}), dialogs);
        dialog.Form().nameEdit->setText(name);
        dialog.accept();
        QCOMPARE(dialogs.messages, QStringList{message});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));  // still open
    }

    void saveAsTemplateTakesTheSelectedPositionOrTheFirst() {
        FakeDialogService dialogs;
        CDlgSaveAsTemplate dialog(Names({"Normal", "Hot Spot", "ToolBar"}), dialogs);
        QCOMPARE(dialog.Form().templatesList->currentRow(), 0);
        dialog.Form().nameEdit->setText(QStringLiteral("Mine"));
        dialog.Form().templatesList->setCurrentRow(2);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.TemplateName(), QStringLiteral("Mine"));
        QCOMPARE(dialog.InsertPosition(), 2);

        CDlgSaveAsTemplate unselected(Names({"Normal"}), dialogs);
        unselected.Form().templatesList->clearSelection();
        unselected.Form().nameEdit->setText(QStringLiteral("Other"));
        unselected.accept();
        QCOMPARE(unselected.InsertPosition(), 0);
    }

    void manageOpensOnTheFirstEntryWithMoveUpDisabled() {
        Store store;
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        auto& form = dialog.Form();
        QCOMPARE(form.templatesList->count(), 13);
        QCOMPARE(form.templatesList->currentRow(), 0);
        QCOMPARE(form.nameEdit->text(), QStringLiteral("Normal"));
        QVERIFY(!form.moveUpButton->isEnabled());
        QVERIFY(form.moveDownButton->isEnabled());

        form.templatesList->setCurrentRow(12);
        QCOMPARE(form.nameEdit->text(), QStringLiteral("Multi-level Menu"));
        QVERIFY(form.moveUpButton->isEnabled());
        QVERIFY(!form.moveDownButton->isEnabled());

        Store single("Normal,");
        CDlgManageTemplates alone(*single.store, single.dialogs);
        QVERIFY(!alone.Form().moveUpButton->isEnabled());
        QVERIFY(!alone.Form().moveDownButton->isEnabled());
    }

    // Every name shows whole, without a horizontal scroll bar.
    void manageShowsTheLongestNameWhole() {
        Store store;
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QListWidget* list = dialog.Form().templatesList;
        for (int row = 0; row < list->count(); ++row)
            QVERIFY2(list->visualItemRect(list->item(row)).left() + list->fontMetrics().horizontalAdvance(list->item(row)->text()) <=
                         list->viewport()->width(),
                     qPrintable(list->item(row)->text()));
        QVERIFY(!list->horizontalScrollBar()->isVisible());
    }

    void movingTheFirstEntryDownTwicePutsItThird() {
        Store store("A,B,C,");
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        auto& form = dialog.Form();
        form.nameEdit->setText(QStringLiteral("typed"));
        dialog.OnMoveDown();
        dialog.OnMoveDown();
        QCOMPARE(store.List(), std::string("B,C,A,"));
        QCOMPARE(Entries(form.templatesList), QStringList({"B", "C", "A"}));
        QCOMPARE(form.templatesList->currentRow(), 2);
        QCOMPARE(form.nameEdit->text(), QStringLiteral("typed"));
        QVERIFY(!form.moveDownButton->isEnabled());
        dialog.OnMoveUp();
        QCOMPARE(store.List(), std::string("B,A,C,"));
        QCOMPARE(form.templatesList->currentRow(), 1);
    }

    void deletingTheLastEntrySelectsTheOneAbove() {
        Store store("A,B,C,");
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        auto& form = dialog.Form();
        form.templatesList->setCurrentRow(2);
        dialog.OnDelete();
        QCOMPARE(store.dialogs.messages, QStringList{QStringLiteral("Are you sure to delete \"C\" template?")});
        QCOMPARE(store.List(), std::string("A,B,"));
        QCOMPARE(form.templatesList->currentRow(), 1);
        QCOMPARE(form.nameEdit->text(), QStringLiteral("B"));
        QVERIFY(!form.moveDownButton->isEnabled());

        form.templatesList->setCurrentRow(0);
        dialog.OnDelete();
        QCOMPARE(form.templatesList->currentRow(), 0);
        QCOMPARE(form.nameEdit->text(), QStringLiteral("B"));
    }

    void deletingTheOnlyTemplateEmptiesTheDialog() {
        Store store("A,");
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        dialog.OnDelete();
        auto& form = dialog.Form();
        QCOMPARE(form.templatesList->count(), 0);
        QVERIFY(form.nameEdit->text().isEmpty());
        QVERIFY(!form.moveUpButton->isEnabled() && !form.moveDownButton->isEnabled());
        store.dialogs.messages.clear();
        dialog.OnDelete();
        dialog.OnRename();
        dialog.OnMoveDown();
        QCOMPARE(store.dialogs.messages, QStringList({kSelectFirst, kSelectFirst, kSelectFirst}));
    }

    void aCancelledDeleteChangesNothing() {
        Store store("A,B,");
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        store.dialogs.answers = {IDialogService::Answer::Cancel};
        dialog.OnDelete();
        QCOMPARE(store.List(), std::string("A,B,"));
        QCOMPARE(dialog.Form().templatesList->count(), 2);
    }

    void renameNeedsANameNoEntryBeginsWith() {
        Store store("Hot Spot,Hot Spot Menu,ToolBar,");
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        auto& form = dialog.Form();
        dialog.OnRename();  // the name box still shows the entry's own name
        form.nameEdit->setText(QStringLiteral("hot"));
        dialog.OnRename();
        form.nameEdit->clear();
        dialog.OnRename();
        QCOMPARE(store.dialogs.messages, QStringList({kGiveNewName, kGiveNewName, kGiveNewName}));
        QCOMPARE(store.List(), std::string("Hot Spot,Hot Spot Menu,ToolBar,"));

        store.dialogs.messages.clear();
        form.templatesList->setCurrentRow(1);
        form.nameEdit->setText(QStringLiteral("Spots"));
        dialog.OnRename();
        QCOMPARE(store.dialogs.messages,
                 QStringList{QStringLiteral("Are you sure to rename \"Hot Spot Menu\" template to \"Spots\"?")});
        QCOMPARE(store.List(), std::string("Hot Spot,Spots,ToolBar,"));
        QCOMPARE(Entries(form.templatesList), QStringList({"Hot Spot", "Spots", "ToolBar"}));
        QCOMPARE(form.templatesList->currentRow(), 1);
        QCOMPARE(form.nameEdit->text(), QStringLiteral("Spots"));
    }

    void aRenameTheStoreRefusesLeavesTheListAlone() {
        Store store("A,B,");
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        // The template file cannot be written: a folder stands in its place.
        QFile::remove(store.folder.filePath(QStringLiteral("Kestrune.tpl")));
        QVERIFY(QDir(store.folder.path()).mkdir(QStringLiteral("Kestrune.tpl")));
        dialog.Form().nameEdit->setText(QStringLiteral("Z"));
        dialog.OnRename();
        QCOMPARE(store.dialogs.messages.size(), 2);  // the question, then the store's failure
        QCOMPARE(Entries(dialog.Form().templatesList), QStringList({"A", "B"}));
        QCOMPARE(dialog.Form().nameEdit->text(), QStringLiteral("Z"));
    }

    void restoreBringsBackTheBuiltInTemplatesAndKeepsTheUsersOwn() {
        Store store("Mine,Group Buttons,");
        CDlgManageTemplates dialog(*store.store, store.dialogs);
        dialog.Form().templatesList->setCurrentRow(1);
        QVERIFY(dialog.Form().restoreButton->isEnabled());
        QTest::mouseClick(dialog.Form().restoreButton, Qt::LeftButton);
        QVERIFY(store.dialogs.messages.isEmpty());
        const QStringList entries = Entries(dialog.Form().templatesList);
        QCOMPARE(entries.size(), 14);
        QCOMPARE(entries.mid(0, 3), QStringList({"Normal", "Mine", "Group Buttons"}));
        QCOMPARE(entries.back(), QStringLiteral("Multi-level Menu"));
        QCOMPARE(dialog.Form().templatesList->currentItem()->text(), QStringLiteral("Group Buttons"));

        dialog.OnRestoreBuiltIn();
        QCOMPARE(store.dialogs.messages, QStringList{QStringLiteral("Every built-in template is in the list already.")});
        QCOMPARE(Entries(dialog.Form().templatesList), entries);
    }
};

QTEST_MAIN(TemplatesTest)
#include "tst_templates.moc"
