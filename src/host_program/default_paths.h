// Where the host programs look for the camera module and the sample set when the
// command line names neither: first the installed layout around the program,
// then the build tree it was built in.
#ifndef DEFAULT_PATHS_H
#define DEFAULT_PATHS_H

#include <QString>

// Call these only once the application object exists.
QString defaultModulePath();
QString defaultSampleFolder();

#endif
