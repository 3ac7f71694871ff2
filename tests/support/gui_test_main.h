// The main of a widget test suite. It runs on Qt's offscreen platform unless
// QT_QPA_PLATFORM names another, so it needs no display. Where Qt has no
// plug-in for that platform (a Qt built without one), the suite runs without
// a GUI application and its initTestCase skips it, so it reports why instead
// of aborting.
#ifndef GUI_TEST_MAIN_H
#define GUI_TEST_MAIN_H

#include <QObject>

int runGuiTest(QObject& test, int argc, char* argv[]);

// True when runGuiTest made a GUI application; call QSKIP in initTestCase otherwise.
bool guiAvailable();

#endif
