#pragma once

namespace ui {

// Qt's own dialogs and standard buttons (the file chooser, the input box,
// the message boxes) speak the program's language: Qt's Japanese catalogue,
// carried inside the program, is installed for a Japanese session and
// removed otherwise. Call it again after the language changed.
void loadQtTranslations();

} // namespace ui
