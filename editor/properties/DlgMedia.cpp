// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/DlgMedia.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <QKeyEvent>

#include "help/HelpTopics.h"
#include "properties/FieldReader.h"
#include "properties/PageWidgets.h"
#include "properties/PropertyTexts.h"

using namespace kestrune;

CDlgMedia::CDlgMedia(IDialogService& dialogs, const char* title, const std::vector<const char*>& rowLabels,
                     const char* filter, const char* helpTopic, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_filter(filter), m_helpTopic(QString::fromLatin1(helpTopic)) {
    setWindowTitle(QString::fromLatin1(title));
    SetHelpTopic(this, m_helpTopic);
    BuildLayout(rowLabels);
}

void CDlgMedia::BuildLayout(const std::vector<const char*>& rowLabels) {
    auto* rows = new QGridLayout;
    for (const char* rowLabel : rowLabels) {
        const int row = static_cast<int>(m_boxes.size());
        auto* label = new QLabel(QString::fromLatin1(rowLabel), this);
        auto* box = new QLineEdit(this);
        auto* browse = new QPushButton(QString::fromLatin1(texts::kBrowseButtonText), this);
        browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 16);
        browse->setAutoDefault(false);
        label->setBuddy(box);
        box->setMinimumWidth(220);
        rows->addWidget(label, row, 0);
        rows->addWidget(box, row, 1);
        rows->addWidget(browse, row, 2);
        connect(browse, &QPushButton::clicked, this, [this, row] { Browse(row); });
        m_boxes.push_back(box);
        m_browseButtons.push_back(browse);
    }

    auto* scopeGroup = new QGroupBox(QString::fromLatin1(texts::kApplyToTitle), this);
    auto* scopeColumn = new QVBoxLayout(scopeGroup);
    for (const char* scopeName : texts::kApplyScopeNames) {
        auto* button = new QRadioButton(QString::fromLatin1(scopeName), scopeGroup);
        scopeColumn->addWidget(button);
        m_scopeButtons.push_back(button);
    }

    auto* left = new QVBoxLayout;
    left->addLayout(rows);
    left->addWidget(scopeGroup);
    left->addStretch();

    auto* ok = new QPushButton(QString::fromLatin1(texts::kOkText), this);
    auto* cancel = new QPushButton(QString::fromLatin1(texts::kCancelText), this);
    m_helpButton = new QPushButton(QString::fromLatin1(texts::kHelpText), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_helpButton, &QPushButton::clicked, this, [this] { emit helpRequested(m_helpTopic); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_helpButton);
    buttons->addStretch();

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addLayout(buttons);
}

QRadioButton* CDlgMedia::ScopeButton(ApplyScope scope) const {
    const int index = static_cast<int>(scope);
    return index >= 0 && index < static_cast<int>(m_scopeButtons.size()) ? m_scopeButtons[static_cast<std::size_t>(index)]
                                                                         : nullptr;
}

void CDlgMedia::SetValues(const QStringList& paths, ApplyScope scope) {
    for (std::size_t row = 0; row < m_boxes.size(); ++row)
        m_boxes[row]->setText(row < static_cast<std::size_t>(paths.size()) ? paths[static_cast<qsizetype>(row)]
                                                                           : QString());
    widgets::CheckRadio({m_scopeButtons[0], m_scopeButtons[1], m_scopeButtons[2]}, static_cast<int>(scope));
}

void CDlgMedia::Browse(int row) {
    widgets::BrowseForFile(m_dialogs, this, PathBox(row), m_filter, m_startFolder);
}

void CDlgMedia::keyPressEvent(QKeyEvent* event) {
    if (widgets::IsHelpKey(event)) emit helpRequested(m_helpTopic);
    else QDialog::keyPressEvent(event);
}

void CDlgMedia::accept() {
    CFieldReader reader(m_dialogs, this);
    std::vector<std::string> paths(m_boxes.size());
    for (std::size_t row = 0; row < m_boxes.size(); ++row)
        if (!reader.ReadPath(m_boxes[row], paths[row])) return;
    m_paths = std::move(paths);
    m_scope = static_cast<ApplyScope>(
        widgets::CheckedRadio({m_scopeButtons[0], m_scopeButtons[1], m_scopeButtons[2]}, -1));
    QDialog::accept();
}

CDlgImage::CDlgImage(IDialogService& dialogs, QWidget* parent)
    : CDlgMedia(dialogs, texts::kImageDialogTitle,
                {texts::kNormalRowLabel, texts::kMouseOverRowLabel, texts::kClickRowLabel}, texts::kImageFilter,
                help::kImageDialog, parent) {}

CDlgAudio::CDlgAudio(IDialogService& dialogs, QWidget* parent)
    : CDlgMedia(dialogs, texts::kAudioDialogTitle, {texts::kMouseOverRowLabel, texts::kClickRowLabel},
                texts::kAudioFilter, help::kAudioDialog, parent) {}
