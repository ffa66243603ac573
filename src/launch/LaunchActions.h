#pragma once
#include <QString>

class MainContext;

namespace launch {

// The "Select a File" chooser; the chosen name without its folder, or empty.
QString SelectEditFile(MainContext &ctx, const QString &initialDirectory, const QString &previousName);

void cmdCompile_Click(MainContext &ctx);
void cmdEdit_Click(MainContext &ctx);

} // namespace launch
