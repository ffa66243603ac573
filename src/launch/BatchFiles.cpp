#include "launch/BatchFiles.h"
#include "app/MainContext.h"

namespace launch {
void mnuSaveEdit_Click(MainContext &) {}
void mnuSaveCompile_Click(MainContext &) {}
void mnuLoadEditFile_Click(MainContext &) {}
void mnuLoadCompile_Click(MainContext &) {}
} // namespace launch
