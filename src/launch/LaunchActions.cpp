#include "launch/LaunchActions.h"
#include "app/MainContext.h"

namespace launch {
QString SelectEditFile(MainContext &, const QString &, const QString &) { return QString(); }
void cmdCompile_Click(MainContext &) {}
void cmdEdit_Click(MainContext &) {}
} // namespace launch
