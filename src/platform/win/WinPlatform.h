#pragma once
// The Windows side of the platform layer: plain C++17 and Win32, no Qt.
// Paths and command lines go to the system through its wide interface; only
// the registry read uses the ANSI one.
#include <cstdint>
#include <string>

namespace platform::win {

// CreateProcess with the line unchanged, in a normal window that takes the
// focus, in the current directory; does not wait and keeps no handle. With
// an application name the system starts that file rather than searching for
// the line's first word.
bool startProcess(const std::wstring &commandLine, const std::wstring &applicationName = {});

// A started process that is kept: its handle and, for one started with its
// output to a file, the job that holds it and whatever it starts. Either
// may be null.
struct KeptProcess {
    void *process = nullptr;
    void *job = nullptr;
};

// startProcess, with the process handle kept.
bool startKeptProcess(const std::wstring &commandLine, KeptProcess &kept);

// A file for a child's output, that the child may inherit and that others
// may read (and even delete) while it is written; null when it cannot be
// made. A file already there is opened as it is (existed tells it was
// there): startWithOutput empties it once its child has started.
void *createOutputFile(const std::wstring &path, bool &existed);

// A pipe for a child's output: the end the child may inherit, and ours to
// read. False when it cannot be made.
bool createOutputPipe(void *&childEnd, void *&ourEnd);
// What the pipe holds now, at most maxSize bytes, without waiting.
std::string readAvailable(void *pipe, std::size_t maxSize);

// Starts the line without a window of its own (no console appears), its
// standard output and error going to `output`, its input the null device,
// in a job of its own so that it can be ended with all it started. The job
// does not end it when its last handle goes: the process outlives us. With
// emptyOutput, `output` is emptied once the child exists and before it
// runs, so that a file stays as it was when nothing starts.
bool startWithOutput(const std::wstring &commandLine, void *output, bool emptyOutput, KeptProcess &kept);

// False while the process runs; once it has ended, true and its exit code.
bool processEnded(const KeptProcess &kept, unsigned long &exitCode);
// Whether anything in its job still runs (without a job: the process).
bool jobRunning(const KeptProcess &kept);
// Ends the process and everything in its job at once.
void stopProcess(const KeptProcess &kept);
// Lets go of the handles; the process is not touched.
void releaseProcess(KeptProcess &kept);

// Opens a file as Explorer would, with the program its kind is opened
// with; does not wait. False when the system knows none or it fails.
bool openDocument(const std::wstring &path);

// The same start, but the child shares this program's standard handles and
// is waited for, and it shows no box of the system's that would wait for a
// user (a DLL it lacks, a crash). False when it could not be started;
// otherwise its exit code, all 32 bits of it. Without a console of our own a console program
// would get a new, visible one, so it is then started without a window.
bool runProcessAndWait(const std::wstring &commandLine, unsigned long &exitCode);

// A program built for the window subsystem has no console of its own. Its
// standard output and error reach the parent's console once attached to it;
// handles the parent redirected to a file or pipe are kept as they are.
// False when there is neither.
bool attachParentConsole();

// Whether standard output (or error) is a console, which takes wide text
// and shows it whatever its code page; a file or pipe takes bytes.
bool isConsole(bool error);
// Write to standard output (or error), as text to a console or as bytes to
// a file or pipe. False when not all of it was written.
bool writeConsole(bool error, const std::wstring &text);
bool writeBytes(bool error, const std::string &bytes);

// An existing plain file: not a directory, neither hidden nor system.
bool isPlainFile(const std::wstring &path);

// A path the wide file functions take even past MAX_PATH: an absolute path
// that long gets the "\\?\" prefix; anything else is returned unchanged.
std::wstring longPathForm(const std::wstring &path);

// Reads one registry value through the ANSI interface into a 1024-byte
// buffer, opened read-only; on failure the value is set empty and false is
// returned. Decoding follows platform::decodeRegistryValue.
bool getKeyValue(std::uint32_t root, const std::string &keyPath, const std::string &valueName,
                 std::string &value);

} // namespace platform::win
