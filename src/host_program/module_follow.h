// Follow mode is the module's to read from the environment (KXCAM_FOLLOW),
// when a camera is created: a program sets it for the cameras it creates next.
#ifndef MODULE_FOLLOW_H
#define MODULE_FOLLOW_H

void setModuleFollows(bool follow);

// Between the triggers of a followed folder that has nothing new: short
// enough that a file is played at once, long enough that waiting costs no CPU.
constexpr int followWaitMilliseconds = 5;

#endif
