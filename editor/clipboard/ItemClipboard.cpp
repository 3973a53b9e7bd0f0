// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ItemClipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QMimeData>

#include "model/VoraneItem.h"

using kestrune::CVoraneItem;

const QString& CItemClipboard::Format() {
    static const QString format = QStringLiteral("application/x-qt-windows-mime;value=\"KestruneClipboardFormat\"");
    return format;
}

CItemClipboard::CItemClipboard(QClipboard* clipboard) : m_clipboard(clipboard) {}

std::unique_ptr<QMimeData> CItemClipboard::EncodeItem(const CVoraneItem& item) {
    const std::vector<std::uint8_t> record = kestrune::WriteItemRecord(item);
    if (record.empty()) return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setData(Format(), QByteArray(reinterpret_cast<const char*>(record.data()),
                                       static_cast<qsizetype>(record.size())));
    return data;
}

bool CItemClipboard::HoldsItem(const QMimeData* data) { return data && data->hasFormat(Format()); }

std::unique_ptr<CVoraneItem> CItemClipboard::DecodeItem(const QMimeData* data, QString* error) {
    if (!HoldsItem(data)) {
        if (error) *error = QStringLiteral("The clipboard holds no item.");
        return nullptr;
    }
    const QByteArray block = data->data(Format());
    std::string reason;
    auto item = kestrune::ReadItemRecord(reinterpret_cast<const std::uint8_t*>(block.constData()),
                                         static_cast<std::size_t>(block.size()), &reason);
    if (!item && error) *error = QString::fromStdString(reason);
    return item;
}

bool CItemClipboard::PutItem(const CVoraneItem& item) const {
    if (!m_clipboard) return false;
    std::unique_ptr<QMimeData> data = EncodeItem(item);
    if (!data) return false;
    m_clipboard->setMimeData(data.release());  // the clipboard takes ownership
    return true;
}

bool CItemClipboard::HoldsItem() const { return m_clipboard && HoldsItem(m_clipboard->mimeData()); }

std::unique_ptr<CVoraneItem> CItemClipboard::TakeItem(QString* error) const {
    return DecodeItem(m_clipboard ? m_clipboard->mimeData() : nullptr, error);
}

std::unique_ptr<QMimeData> CItemClipboard::DragData() {
    auto data = std::make_unique<QMimeData>();
    data->setData(Format(), QByteArray());
    return data;
}

bool CItemClipboard::IsDragData(const QMimeData* data) { return HoldsItem(data); }
