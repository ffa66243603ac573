#pragma once

class MainContext;

namespace ui {

// "&Libs...": a fresh library selection dialog over the main list.
void cmdEditSrcpath_Click(MainContext &ctx);

} // namespace ui
