#pragma once
// Helpers shared by the Windows layer's tests. Test code builds non-ASCII
// names as wide strings and converts them itself: under mingw,
// std::filesystem::path::string() gives UTF-8, not the ANSI code page.
#include <optional>
#include <string>

namespace tavotest {

// The text in the ANSI code page, or nothing when the page cannot hold it.
std::optional<std::string> toAnsi(const std::wstring &text);
std::wstring fromAnsi(const std::string &text);

// The directory of the running test program, in the ANSI code page.
std::string programDirectory();

// The current directory as the system reports it.
std::string currentDirectory();

// Runs a command line to its end, its output discarded; the exit code, or -1
// when it did not start.
int runToEnd(const std::string &commandLine);

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &bytes);
bool waitForFile(const std::string &path, unsigned timeoutMs);

// A fresh directory below the current one (CTest's work folder), named after
// the running test; removed with everything in it, whatever its attributes,
// when the object goes.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;

    const std::string &path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

} // namespace tavotest
