#include "preview/MenuPreviewWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

#include "app/KestruneDoc.h"
#include "app/ModelChange.h"
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

CMenuPreviewWindow::CMenuPreviewWindow(CKestruneDoc& doc, QWidget* parent) : QMainWindow(parent), m_doc(&doc) {
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
    statusBar()->addPermanentWidget(m_warningLabel);
    statusBar()->addPermanentWidget(m_sizeLabel);
    connect(m_preview, &CMenuPreviewWidget::statusChanged, statusBar(),
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(m_preview, &CMenuPreviewWidget::soundRequested, m_sound, &CPreviewSoundPlayer::Play);
}

QString CMenuPreviewWindow::StatusText() const { return statusBar()->currentMessage(); }

// A closed preview costs nothing per edit: it catches up when it is shown again.
void CMenuPreviewWindow::OnModelChanged(const ModelChange& change) {
    if (change.kind == ModelChange::Reset) m_mediaMayHaveChanged = true;
    m_stale = true;
    if (isVisible()) Refresh();
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
    Show(AppletAsReceived(m_doc->Applet()));
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

void CMenuPreviewWindow::ShowSizeAndWarnings() {
    const CAppletParameters* applet = m_preview->Applet();
    m_sizeLabel->setText(applet ? QString::fromLatin1(previewtexts::kAppletSize)
                                      .arg(applet->m_appWidth)
                                      .arg(applet->m_appHeight)
                                : QString());
    m_warningLabel->setText(m_warnings.isEmpty() ? QString()
                                                 : QCoreApplication::translate("CMenuPreviewWindow",
                                                                               previewtexts::kWarningCount,
                                                                               nullptr, int(m_warnings.size())));
    m_warningLabel->setToolTip(m_warnings.join(QLatin1Char('\n')));
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
