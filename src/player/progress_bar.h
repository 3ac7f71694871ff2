// A one-line progress bar on stderr, redrawn in place and fitted to the
// terminal's width. Other output to the terminal goes between clear() and
// draw(), so the bar never splits a line. A followed folder, whose total
// grows, gets a count instead of a bar: "frame 1,204 of 1,204", and
// ", waiting for files" while nothing new arrives.
#ifndef PROGRESS_BAR_H
#define PROGRESS_BAR_H

#include <QElapsedTimer>

class ProgressBar {
public:
    // A bar that draws only when enabled and total is known (above 0), or
    // when enabled and growing.
    ProgressBar(bool enabled, int total, bool growing = false);

    bool isActive() const { return m_active; }
    // Redraws at most every few tens of milliseconds, and always on the last
    // step; `total` counts only when growing.
    void update(int done, int total);
    // Growing: nothing new has arrived after `total`.
    void setWaiting(int total);
    void clear();
    void draw();
    // Clears the bar for good: nothing draws it again.
    void close();

private:
    bool m_active;
    int m_drawnLength = 0;  // characters on the terminal now, 0 when cleared
    int m_total;
    int m_done = 0;
    bool m_growing;
    bool m_waiting = false;
    QElapsedTimer m_sinceDraw;
};

// Whether stderr is a terminal, where a bar makes sense.
bool stderrIsTerminal();

#endif
