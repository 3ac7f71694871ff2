// The viewer's main window: the frame, the controls on a toolbar and keys,
// the status line, the pixel inspector and the module's warnings.
#ifndef VIEWER_WINDOW_H
#define VIEWER_WINDOW_H

#include "host_options.h"
#include "playback.h"

#include <QMainWindow>

class FrameView;
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
    void setFramesPerSecond(double rate);

    Playback& playback() { return m_playback; }
    FrameView& frameView() { return *m_view; }
    WarningPane& warningPane() { return *m_warnings; }
    QString statusText() const;
    QString inspectorText() const;

public slots:
    // Opens the folder and plays it once it is open, or says in the window why
    // it cannot be opened; the window paints on meanwhile.
    void openFolder(const QString& folder);

private:
    void createToolBar();
    QAction* addAction(const QString& text, const QList<QKeySequence>& keys, bool checkable = false);
    void chooseFolder();
    void togglePlay();
    void changePreload(bool preload);
    void changeFramesPerSecond(double rate);
    void showOpened();
    void showOpenFailure();
    QString openingText() const;
    void showFrame();
    void showState();
    void showStatus();
    void showPixel(const QPoint& pixel);

    const WarningLog& m_log;
    Playback m_playback;
    FrameView* m_view;
    WarningPane* m_warnings;
    QLabel* m_status;
    QLabel* m_inspector;
    QAction* m_play = nullptr;
    QAction* m_step = nullptr;
    QAction* m_restart = nullptr;
    QAction* m_loop = nullptr;
    QAction* m_preload = nullptr;
    QDoubleSpinBox* m_rate = nullptr;
};

#endif
