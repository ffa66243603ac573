#pragma once

class MainContext;

namespace workspace {

// "&Libs...": a fresh library selection dialog over the main list.
void cmdEditSrcpath_Click(MainContext &ctx);

} // namespace workspace
