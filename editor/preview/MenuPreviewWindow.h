// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "model/ModelChange.h"
#include "output/ParameterReader.h"
#include "output/ReceivedApplet.h"

class CKestruneDoc;
class CMenuPreviewWidget;
class CPreviewSoundPlayer;
class QAction;
class QLabel;
class QScrollArea;

// The "Menu Preview" window: the applet drawn and working as on a web page. Made for a
// document it follows every change of the model as soon as it is made; made for a page
// it shows that page's applet.
class CMenuPreviewWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CMenuPreviewWindow(CKestruneDoc& doc, QWidget* parent = nullptr);
    CMenuPreviewWindow(kestrune::AppletReadResult page, const QString& pageName, QWidget* parent = nullptr);
    ~CMenuPreviewWindow() override;

    CMenuPreviewWidget& Preview() const { return *m_preview; }
    CPreviewSoundPlayer& Sound() const { return *m_sound; }
    // What the last read reported: warnings, and the error when it failed.
    QStringList Warnings() const;
    QString StatusText() const;
    // Shown while menus are cut off by the applet's edge: applies the recommended size as
    // one step that can be undone.
    QAction* FitAction() const { return m_fitAction; }

public slots:
    // Reads the document's applet again.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpWindow();
    void OnModelChanged(const kestrune::ModelChange& change);
    void Show(kestrune::AppletReadResult result);
    void ShowReceived(const kestrune::ReceivedApplet::Update& update);
    void ShowSizeAndWarnings();
    void PlayBackgroundSoundIfNew();
    void FitToContent();
    void FitAppletSize();

    CKestruneDoc* m_doc = nullptr;
    CMenuPreviewWidget* m_preview = nullptr;
    QScrollArea* m_scroll = nullptr;
    CPreviewSoundPlayer* m_sound = nullptr;
    QAction* m_soundsAction = nullptr;
    QAction* m_fitAction = nullptr;
    QLabel* m_cutLabel = nullptr;
    QWidget* m_fitButton = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QLabel* m_warningLabel = nullptr;
    QStringList m_warnings;  // of a page; the document's are asked for when shown
    std::unique_ptr<kestrune::ReceivedApplet> m_received;  // the document's applet, followed edit by edit
    std::string m_backgroundSound;
    bool m_stale = false;
    bool m_mediaMayHaveChanged = false;
};
