// Compiled for the Microsoft x64 ABI only, with the layout dumps on. A call
// through each interface makes the compiler lay out that class's virtual
// table, which is what the dump prints.
#include "camera_virtual_folder.h"

void callThroughEveryTable(ICameraObject* camera, ICameraCallback* callback, CCameraVirtualFolder* folder)
{
    camera->trigger();
    callback->onFrame(camera);
    folder->reservedOp14();
}
