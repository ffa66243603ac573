#pragma once

class MainContext;

namespace ui {

// "&New...": asks for a name, makes its source and library folders, adds it.
void cmdNewDir_Click(MainContext &ctx);

} // namespace ui
