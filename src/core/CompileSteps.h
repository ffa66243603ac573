#pragma once
#include "core/Kit.h"
#include "core/Settings.h"
#include "core/Workspace.h"
#include "platform/ToolLine.h"

#include <QString>

namespace core {

struct CompileStart {
    // The compiler line for the selected entry, as the kit writes it.
    QString line;
    // The words that are started (compileStartWords).
    platform::ToolLine started;
    // The class directory these steps made, as the compiler is given it; empty
    // when none was made.
    QString madeClassDirectory;
};

// Everything Compile does before it starts the compiler: builds the line,
// makes the kit folder the working directory and, when ClassDirectory is
// set, makes that directory there (one level only). A step that fails is
// skipped; the compiler reports what it then cannot do.
CompileStart prepareCompile(const Kit &kit, const Settings &settings, const Workspace &workspace);

} // namespace core
