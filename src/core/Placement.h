#pragma once
// Where the main window goes at start: its stored placement, within reason.
#include <QList>
#include <QRect>

#include <optional>

namespace core {

// The four stored values in twips; absent where the store has none or what
// it has is not a number.
struct StoredPlacement {
    std::optional<int> left;
    std::optional<int> top;
    std::optional<int> width;
    std::optional<int> height;
};

// How far beyond the screens a stored value may reach before it counts as
// absent: a size or an offset of more than this many times the whole
// desktop is no placement any screen of the machine could have shown.
constexpr int kDesktopsOfReach = 4;

// The outer bounds in twips. Each value is the stored one, or the default's
// where it is absent, is a size of no length, or no screen could show it
// (see kDesktopsOfReach); a size is held to `largest`, what the window system
// can draw. `screens` are the screens' usable areas. A window whose title
// bar (`titleBar` high along its top) would lie wholly off every screen is
// moved the least way onto the nearest one, its title bar whole there where
// it fits; one partly on a screen stays where it is.
QRect placeMainWindow(const StoredPlacement &stored, const QRect &defaults, const QList<QRect> &screens,
                      int titleBar, const QSize &largest);

} // namespace core
