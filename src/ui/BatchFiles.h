#pragma once

class MainContext;

namespace ui {

// File > Export: write the editor or compiler line as a batch file chosen in
// a save dialog that starts in the kit folder.
void mnuSaveEdit_Click(MainContext &ctx);
void mnuSaveCompile_Click(MainContext &ctx);
// File > Import: take settings (and, for the editor file, the source-path
// list) back from such a file, then show the Options dialog on its tab.
void mnuLoadEditFile_Click(MainContext &ctx);
void mnuLoadCompile_Click(MainContext &ctx);

} // namespace ui
