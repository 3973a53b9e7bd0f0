// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QtTest>

#include "main/CommandTable.h"
#include "support/ProgramFixture.h"

namespace {
struct HelpRow {
    QString first;   // the entry, or the keys in the shortcut table
    QString second;  // the keys, or the command in the shortcut table
};

QString PlainText(const QString& html) { return QTextDocumentFragment::fromHtml(html).toPlainText().trimmed(); }

// The rows of the first table after the anchor name.
QList<HelpRow> TableAfter(const QString& help, const QString& name) {
    const qsizetype anchor = help.indexOf(QStringLiteral("<a name=\"%1\">").arg(name));
    if (anchor < 0) return {};
    const qsizetype end = help.indexOf(QStringLiteral("</table>"), anchor);
    const QString table = help.mid(anchor, end - anchor);
    static const QRegularExpression row(QStringLiteral("<tr><td>(.*?)</td><td>(.*?)</td>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    QList<HelpRow> rows;
    for (auto match = row.globalMatch(table); match.hasNext();) {
        const auto found = match.next();
        rows.append({PlainText(found.captured(1)), PlainText(found.captured(2))});
    }
    return rows;
}

// Keys as the help writes them: "Ctrl+Shift+Z", "Del", "Alt+Enter" (the keypad's Enter and
// the main Enter key are one key to a reader).
QStringList KeyNames(const QList<QKeySequence>& keys) {
    QStringList names;
    for (const QKeySequence& key : keys) {
        QString name = key.toString(QKeySequence::PortableText);
        name.replace(QStringLiteral("Return"), QStringLiteral("Enter"));
        if (!names.contains(name)) names << name;
    }
    return names;
}

QStringList SplitKeys(const QString& cell) {
    QStringList keys = cell.split(QStringLiteral(", "), Qt::SkipEmptyParts);
    for (QString& key : keys) key = key.trimmed();
    return keys;
}

QString MenuName(MenuGroup group) { return CCommandTable::MenuTitle(group).remove(QLatin1Char('&')); }
}  // namespace

class HelpCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // Every command of the running editor, with every key it has, is in the help: in the
    // table of its menu and in the shortcut table; and the shortcut table lists no key that
    // no command has.
    void helpKnowsEveryCommandAndKey() {
        ProgramFixture program;
        QVERIFY(program.Start());

        QFile file(QStringLiteral(KESTRUNE_BIN_DIR "/kestrune.html"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString help = QString::fromUtf8(file.readAll());
        const QList<HelpRow> shortcuts = TableAfter(help, QStringLiteral("keys"));
        QVERIFY(!shortcuts.isEmpty());

        QStringList allKeys;
        QStringList missing;
        for (const CommandEntry& entry : program.Frame().Commands().Entries()) {
            const QString text = QString(entry.text).remove(QLatin1Char('&'));
            const QStringList keys = KeyNames(entry.keys);
            allKeys << keys;
            if (entry.menu != MenuGroup::KeysOnly) {
                const QString section = QStringLiteral("cmd_") + MenuName(entry.menu).toLower();
                const QList<HelpRow> rows = TableAfter(help, section);
                const auto row = std::find_if(rows.begin(), rows.end(), [&](const HelpRow& candidate) {
                    return candidate.first.contains(text, Qt::CaseInsensitive);
                });
                if (row == rows.end())
                    missing << QStringLiteral("%1 > %2 has no row").arg(MenuName(entry.menu), text);
                else if (SplitKeys(row->second) != keys)
                    missing << QStringLiteral("%1 > %2 lists keys \"%3\", has \"%4\"")
                                   .arg(MenuName(entry.menu), text, row->second, keys.join(QStringLiteral(", ")));
            }
            const QString named = QStringLiteral("%1 > %2").arg(MenuName(entry.menu), text);
            for (const QString& key : keys) {
                const bool listed = std::any_of(shortcuts.begin(), shortcuts.end(), [&](const HelpRow& candidate) {
                    return SplitKeys(candidate.first).contains(key) &&
                           (entry.menu == MenuGroup::KeysOnly || candidate.second.startsWith(named));
                });
                if (!listed) missing << QStringLiteral("key %1 of %2 is not in the shortcut table").arg(key, text);
            }
        }
        for (const HelpRow& row : shortcuts)
            for (const QString& key : SplitKeys(row.first))
                if (!allKeys.contains(key)) missing << QStringLiteral("the help lists key %1, no command has it").arg(key);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }

    // The help's table of the files a save writes names each file a save (with the script
    // runtime) writes, and names no other file but as written only in some case.
    void helpNamesTheFilesASaveWrites() {
        ProgramFixture program;
        QVERIFY(program.Start());
        program.Doc().m_bScriptRuntime = 1;
        const QString page = program.folder.filePath(QStringLiteral("site/menu.htm"));
        program.dialogs.saveFileNames = {page};
        program.Trigger(cmd::FileSave);
        QVERIFY(!program.Doc().IsModified());
        const QStringList written = QDir(QFileInfo(page).path()).entryList(QDir::Files);

        QFile file(QStringLiteral(KESTRUNE_BIN_DIR "/kestrune.html"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<HelpRow> rows = TableAfter(QString::fromUtf8(file.readAll()), QStringLiteral("saving"));
        QStringList wrong;
        static const QRegularExpression media(QStringLiteral("\\.(gif|jpe?g|au)$"), QRegularExpression::CaseInsensitiveOption);
        for (const QString& name : written)
            if (!media.match(name).hasMatch() &&
                std::none_of(rows.begin(), rows.end(), [&](const HelpRow& row) { return row.first == name; }))
                wrong << name + QStringLiteral(" is written, not in the help");
        for (const HelpRow& row : rows)
            if (row.first.contains(QLatin1Char('.')) && !written.contains(row.first) &&
                !row.second.startsWith(QStringLiteral("Only")))
                wrong << row.first + QStringLiteral(" is in the help, not written");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(HelpCommandsTest)
#include "tst_help_commands.moc"
