#pragma once
#include "core/Kit.h"
#include "core/Settings.h"
#include "core/Workspace.h"

#include <QString>

namespace core {

struct CompileStart {
    // The compiler line for the selected entry.
    QString line;
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
