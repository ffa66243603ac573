#pragma once
#include <QString>

namespace core {

// A mend the kit check offers with a finding, taken by one action in Check
// Kit. --check only reports: it never takes one.
struct KitMend {
    enum class Action {
        // Fills the setting's field of the Options dialog with value; saved
        // only by OK or Apply, as any edit there.
        FillSetting,
        // Makes the folder value, in the system's form, every missing level.
        MakeFolder,
    };
    Action action = Action::FillSetting;
    QString setting;
    QString value;
    // What it does, in the user's language.
    QString caption;
};

} // namespace core
