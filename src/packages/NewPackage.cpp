#include "packages/NewPackage.h"
#include "app/MainContext.h"

namespace packages {
void cmdNewDir_Click(MainContext &) {}
} // namespace packages
