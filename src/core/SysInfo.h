#pragma once
#include <QString>

#include <cstdint>
#include <functional>

namespace core {

// What starting the system-information program needs from the system; tests
// put a registry of their own in its place.
struct SysInfoAccess {
    // GetKeyValue: reads one value; on failure empties it and gives false.
    std::function<bool(std::uint32_t root, const QString &keyPath, const QString &valueName,
                       QString &value)>
        getKeyValue;
    std::function<bool(const QString &path)> isPlainFile;
    // Starts the program at a path in a normal focused window, without
    // waiting.
    std::function<bool(const QString &path)> start;
};

SysInfoAccess systemSysInfoAccess();

// Finds the program through the two registry locations, in order, and starts
// it. False when nothing was started: the caller then shows its message.
bool startSysInfo(const SysInfoAccess &access);

} // namespace core
