#pragma once
#include <QString>

class QObject;
class QWidget;

namespace ui {

// Property under which a control or window keeps its Tag text.
constexpr const char *kTagProperty = "Tag";
// Overrides the toolkit class name that decides how a control is localised
// (for example "PictureBox" for a label that only shows an image).
constexpr const char *kControlTypeProperty = "controlType";

// Gives a window and its controls their captions from the string table, by
// the numbers in their Tags (menu entries: in their designed captions).
// Every step that cannot be applied is skipped; it never fails.
void LocalizeForm(QWidget *window);

// The type name that chooses a control's branch: "Label", "Menu",
// "CommandButton", "ListBox", "TextBox", "TabStrip", "Toolbar", "ListView",
// "SSTab", "StatusBar", "Line", "PictureBox", ...
QString controlTypeName(const QObject *control);

} // namespace ui
