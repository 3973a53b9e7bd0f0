// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/MenuPreviewWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/AppletSizeEdit.h"
#include "app/KestruneDoc.h"
#include "help/HelpTopics.h"
#include "preview/MenuPreviewWidget.h"
#include "preview/PreviewSoundPlayer.h"
#include "preview/PreviewSource.h"
#include "preview/PreviewTexts.h"
#include "app/TextConvert.h"

using namespace kestrune;

namespace {
QString Local(const std::string& text) { return kestrune::convert::ToQt(text); }
QString LocalPath(const std::string& path) { return kestrune::convert::PathToQt(path); }
}  // namespace

CMenuPreviewWindow::CMenuPreviewWindow(CKestruneDoc& doc, QWidget* parent)
    : QMainWindow(parent), m_doc(&doc), m_received(std::make_unique<ReceivedApplet>()) {
    SetUpWindow();
    setWindowTitle(QString::fromLatin1(previewtexts::kWindowTitle));
    connect(&doc, &CKestruneDoc::modelChanged, this, &CMenuPreviewWindow::OnModelChanged);
    Refresh();
    FitToContent();
}

CMenuPreviewWindow::CMenuPreviewWindow(AppletReadResult page, const QString& pageName, QWidget* parent)
    : QMainWindow(parent) {
    SetUpWindow();
    setWindowTitle(QString::fromLatin1(previewtexts::kWindowTitleOfPage).arg(pageName));
    Show(std::move(page));
    FitToContent();
}

CMenuPreviewWindow::~CMenuPreviewWindow() = default;

void CMenuPreviewWindow::SetUpWindow() {
    SetHelpTopic(this, QString::fromLatin1(previewtexts::kHelpTopic));
    m_preview = new CMenuPreviewWidget;
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_preview);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    setCentralWidget(m_scroll);

    m_sound = new CPreviewSoundPlayer(this);
    QToolBar* toolbar = addToolBar(QString::fromLatin1(previewtexts::kWindowTitle));
    toolbar->setMovable(false);
    m_soundsAction = toolbar->addAction(QString::fromLatin1(previewtexts::kSoundsAction));
    m_soundsAction->setCheckable(true);
    m_soundsAction->setChecked(true);
    m_soundsAction->setToolTip(QString::fromLatin1(previewtexts::kSoundsTooltip));
    connect(m_soundsAction, &QAction::toggled, m_sound, &CPreviewSoundPlayer::SetEnabled);

    m_sizeLabel = new QLabel(this);
    m_warningLabel = new QLabel(this);
    m_warningLabel->installEventFilter(this);
    m_cutLabel = new QLabel(QString::fromLatin1(previewtexts::kMenusCut), this);
    m_fitAction = new QAction(QString::fromLatin1(previewtexts::kFitAppletSize), this);
    m_fitAction->setToolTip(QString::fromLatin1(previewtexts::kFitAppletSizeTip));
    auto* fitButton = new QToolButton(this);
    fitButton->setDefaultAction(m_fitAction);
    m_fitButton = fitButton;
    connect(m_fitAction, &QAction::triggered, this, &CMenuPreviewWindow::FitAppletSize);
    statusBar()->addPermanentWidget(m_cutLabel);
    statusBar()->addPermanentWidget(fitButton);
    statusBar()->addPermanentWidget(m_warningLabel);
    statusBar()->addPermanentWidget(m_sizeLabel);
    m_cutLabel->hide();
    m_fitButton->hide();
    m_fitAction->setVisible(false);
    connect(m_preview, &CMenuPreviewWidget::statusChanged, statusBar(),
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(m_preview, &CMenuPreviewWidget::soundRequested, m_sound, &CPreviewSoundPlayer::Play);
}

QString CMenuPreviewWindow::StatusText() const { return statusBar()->currentMessage(); }

// A closed preview costs nothing per edit: it reads the whole model when shown again.
// An open one follows each edit, at the cost of what the edit touched.
void CMenuPreviewWindow::OnModelChanged(const ModelChange& change) {
    if (change.kind == ModelChange::Reset) m_mediaMayHaveChanged = true;
    if (!isVisible() || m_stale) {
        m_stale = true;
        return;
    }
    if (m_mediaMayHaveChanged) return Refresh();
    ShowReceived(m_received->Apply(m_doc->Applet(), change));
}

void CMenuPreviewWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_stale) Refresh();
}

void CMenuPreviewWindow::Refresh() {
    if (!m_doc) return;
    if (m_mediaMayHaveChanged) {
        m_preview->ReloadImages();
        m_sound->ClearCache();
        m_mediaMayHaveChanged = false;
    }
    m_stale = false;
    ShowReceived(m_received->Rebuild(m_doc->Applet()));
}

// A failed read keeps the applet shown before it and says why.
void CMenuPreviewWindow::ShowReceived(const ReceivedApplet::Update& update) {
    m_warnings.clear();
    const bool failed = update.outcome == ReceivedApplet::Outcome::Failed;
    if (failed) m_warnings << QString::fromLatin1(previewtexts::kReadFailed).arg(Local(m_received->Error()));
    // Even a failed edit may have begun to patch the applet: it is laid out afresh.
    m_preview->ShowApplet(m_received->Applet(), update.changedTopMenus,
                          update.outcome != ReceivedApplet::Outcome::Patched, update.appletFieldsChanged);
    ShowSizeAndWarnings();
    PlayBackgroundSoundIfNew();
}

QStringList CMenuPreviewWindow::Warnings() const {
    QStringList warnings = m_warnings;
    if (m_warnings.isEmpty() && m_received && m_received->Applet())
        for (const std::string& warning : m_received->Warnings()) warnings << Local(warning);
    return warnings;
}

// The warnings of a large document name its items by page position: they are listed
// when asked for, not at every edit.
bool CMenuPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_warningLabel && event->type() == QEvent::ToolTip)
        m_warningLabel->setToolTip(Warnings().join(QLatin1Char('\n')));
    return QMainWindow::eventFilter(watched, event);
}

// A failed read keeps the applet shown before it and says why.
void CMenuPreviewWindow::Show(AppletReadResult result) {
    m_warnings.clear();
    for (const std::string& warning : result.warnings) m_warnings << Local(warning);
    if (result.Ok())
        m_preview->SetApplet(std::move(result.applet));
    else
        m_warnings.prepend(QString::fromLatin1(previewtexts::kReadFailed).arg(Local(result.error)));
    ShowSizeAndWarnings();
    PlayBackgroundSoundIfNew();
}

void CMenuPreviewWindow::FitAppletSize() {
    if (m_doc) FitAppletToMenus(*m_doc);
}

void CMenuPreviewWindow::ShowSizeAndWarnings() {
    const CAppletParameters* applet = m_preview->Applet();
    // Only the document's preview can change the applet.
    const bool cut = m_doc && m_preview->MenusCut();
    m_cutLabel->setVisible(cut);
    m_fitButton->setVisible(cut);
    m_fitAction->setVisible(cut);
    m_sizeLabel->setText(applet ? QString::fromLatin1(previewtexts::kAppletSize)
                                      .arg(applet->m_appWidth)
                                      .arg(applet->m_appHeight)
                                : QString());
    const qsizetype count = m_warnings.size() + (m_warnings.isEmpty() && m_received && m_received->Applet()
                                                      ? static_cast<qsizetype>(m_received->WarningCount())
                                                      : 0);
    m_warningLabel->setText(count == 0 ? QString()
                                       : QCoreApplication::translate("CMenuPreviewWindow", previewtexts::kWarningCount,
                                                                     nullptr, int(count)));
    // A page's few warnings are set at once; the document's when the pointer asks.
    m_warningLabel->setToolTip(m_received ? QString() : m_warnings.join(QLatin1Char('\n')));
}

void CMenuPreviewWindow::PlayBackgroundSoundIfNew() {
    const CAppletParameters* applet = m_preview->Applet();
    const std::string sound = applet ? applet->m_appBKAudioPath : std::string();
    if (sound == m_backgroundSound) return;
    m_backgroundSound = sound;
    if (!sound.empty()) m_sound->Play(LocalPath(sound));
}

void CMenuPreviewWindow::FitToContent() {
    const QSize content = m_preview->sizeHint() + QSize(4, 4);
    QSize wanted = content;
    for (QToolBar* bar : findChildren<QToolBar*>()) wanted.rheight() += bar->sizeHint().height();
    wanted.rheight() += statusBar()->sizeHint().height();
    wanted = wanted.expandedTo(QSize(480, 240));
    // The status line's texts are never cut off.
    wanted = wanted.expandedTo(QSize(statusBar()->sizeHint().width() + 16, 0));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(wanted);
}
