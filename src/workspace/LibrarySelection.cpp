#include "workspace/LibrarySelection.h"
#include "app/MainContext.h"

namespace workspace {

void cmdEditSrcpath_Click(MainContext &) {}

} // namespace workspace
