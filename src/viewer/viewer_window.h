// The viewer's main window: the frame, the controls on a toolbar and keys,
// the status line, the pixel inspector, the module's warnings and a histogram
// of the frame in a dock.
#ifndef VIEWER_WINDOW_H
#define VIEWER_WINDOW_H

#include "host_options.h"
#include "playback.h"

#include <QMainWindow>

class FrameView;
class HistogramView;
class QAction;
class QDoubleSpinBox;
class QLabel;
class WarningLog;
class WarningPane;

class ViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    ViewerWindow(const CameraEntryPoints& entryPoints, WarningLog& log, QWidget* parent = nullptr);

    // Applies the command line's settings through the window's own controls,
    // shows the window and opens the folder.
    void start(const HostOptions& options);
    void setLoop(bool loop);
    void setPreload(bool preload);
    void setFollow(bool follow);
    void setFramesPerSecond(double rate);
    void setPace(const PaceRule& rule, double speed);

    Playback& playback() { return m_playback; }
    FrameView& frameView() { return *m_view; }
    WarningPane& warningPane() { return *m_warnings; }
    HistogramView& histogramView() { return *m_histogram; }
    QString statusText() const;
    QString inspectorText() const;
    // Says when the picture shows palette indices rather than grey values; empty otherwise.
    QString paletteNote() const;

public slots:
    // Opens the folder and shows its first frame, paused, once it is open, or
    // says in the window why it cannot be opened; the window paints on meanwhile.
    void openFolder(const QString& folder);
    // Writes the frame shown into folder as kxcam-play's --save does; the path
    // written, or empty when there is no frame or it cannot be written (the
    // status bar says which).
    QString saveShownFrame(const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createToolBar();
    // The dock's show/hide action, for the toolbar.
    QAction* createHistogramDock();
    QAction* addAction(const QString& text, const QList<QKeySequence>& keys, bool checkable = false);
    void chooseFolder();
    void chooseSaveFolder();
    void togglePlay();
    void changePreload(bool preload);
    void changeFollow(bool follow);
    void changeFramesPerSecond(double rate);
    void showOpened();
    void showOpenFailure();
    QString openingText() const;
    void clearFrame();
    void showFrame();
    void showState();
    void showStatus();
    void showPixel(const QPoint& pixel);

    Playback m_playback;
    FrameView* m_view;
    WarningPane* m_warnings;
    HistogramView* m_histogram;
    QLabel* m_status;
    QLabel* m_inspector;
    QLabel* m_paletteNote;
    QAction* m_play = nullptr;
    QAction* m_step = nullptr;
    QAction* m_restart = nullptr;
    QAction* m_loop = nullptr;
    QAction* m_preload = nullptr;
    QAction* m_follow = nullptr;
    QDoubleSpinBox* m_rate = nullptr;
    QString m_saveFolder;
};

#endif
