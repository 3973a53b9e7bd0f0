// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

class QClipboard;
class QMimeData;
namespace kestrune {
class CVoraneItem;
}

// The program's private clipboard and drag format. The clipboard carries one item with
// everything below it as the archive record of the core; a drag carries the same type
// empty, since the dragged node is known to the view that started it.
class CItemClipboard {
public:
    // Qt's spelling of the format registered by name "KestruneClipboardFormat".
    static const QString& Format();

    explicit CItemClipboard(QClipboard* clipboard);

    // Replaces the clipboard's content with the item's record and nothing else.
    // False when no block could be made; the clipboard is then left alone.
    bool PutItem(const kestrune::CVoraneItem& item) const;
    // Whether Paste has anything to take: the private format is on the clipboard.
    bool HoldsItem() const;
    // A new item read from the clipboard, or null (with the reason in *error) when the
    // clipboard has no private data or the data is not a whole, valid record.
    std::unique_ptr<kestrune::CVoraneItem> TakeItem(QString* error = nullptr) const;

    static std::unique_ptr<QMimeData> EncodeItem(const kestrune::CVoraneItem& item);
    static bool HoldsItem(const QMimeData* data);
    static std::unique_ptr<kestrune::CVoraneItem> DecodeItem(const QMimeData* data, QString* error = nullptr);

    // What a drag inside the tree carries, and the test a drop target applies to it.
    static std::unique_ptr<QMimeData> DragData();
    static bool IsDragData(const QMimeData* data);

private:
    QClipboard* m_clipboard;
};
