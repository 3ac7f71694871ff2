// The camera under test: through the loaded module as a host reaches it, or,
// when a suite is built in-process, through the exports linked into the test.
#ifndef TEST_MODULE_H
#define TEST_MODULE_H

#include "camera_module.h"

// Loads the module once per process; a test fails when it cannot be loaded.
const CameraEntryPoints& testEntryPoints();

// True in the suites that link the camera's objects directly.
bool testsRunInProcess();

#endif
