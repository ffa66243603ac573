#pragma once

class MainContext;

namespace launch {

void mnuSaveEdit_Click(MainContext &ctx);
void mnuSaveCompile_Click(MainContext &ctx);
void mnuLoadEditFile_Click(MainContext &ctx);
void mnuLoadCompile_Click(MainContext &ctx);

} // namespace launch
