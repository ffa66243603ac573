#include "platform/win/WinPlatform.h"
#include "platform/RegistryDecode.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#ifdef _MSC_VER
#pragma comment(lib, "advapi32.lib")
#endif

// Every call names its A or W form, whatever UNICODE says.

namespace platform::win {
namespace {

// CreateProcessW may write into the line it is given, so it gets a copy.
std::vector<wchar_t> writableLine(const std::wstring &commandLine)
{
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    return line;
}

bool usable(HANDLE handle)
{
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The registry's predefined roots are negative 32-bit numbers; a 64-bit
// handle must carry the sign, as the system's own HKEY_* constants do.
HKEY rootHandle(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

// Whether a child may hold itself up on a box of the system's when it
// cannot load (a missing DLL) or crashes.
enum class SystemBoxes { Shown, Suppressed };

// Every start of a child goes through here. Without an application name
// the system splits the line into program and arguments itself, as a typed
// command line would be split. A child inherits our error mode, so for the
// start of one whose end we wait for or watch it is set to suppress those
// boxes, and the child then ends with its status (0xC0000135, 0xC0000005)
// rather than wait for an OK; ours is as it was again afterwards.
bool createProcess(const std::wstring &applicationName, const std::wstring &commandLine, STARTUPINFOW &startup,
                   bool inheritHandles, DWORD flags, PROCESS_INFORMATION &started, SystemBoxes boxes)
{
    if (commandLine.empty())
        return false;
    std::vector<wchar_t> line = writableLine(commandLine);
    const UINT ours = GetErrorMode();
    if (boxes == SystemBoxes::Suppressed)
        SetErrorMode(ours | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    const bool made = CreateProcessW(applicationName.empty() ? nullptr : applicationName.c_str(), line.data(),
                                     nullptr, nullptr, inheritHandles, flags, nullptr, nullptr, &startup, &started);
    if (boxes == SystemBoxes::Suppressed)
        SetErrorMode(ours);
    return made;
}

// In a normal window that takes the focus. The user who clicked sees the
// tool's window and nothing else of its fate, so a box that says why it
// could not load is the only word they get of it.
bool startShown(const std::wstring &commandLine, const std::wstring &applicationName, PROCESS_INFORMATION &started)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    if (!createProcess(applicationName, commandLine, startup, false, 0, started, SystemBoxes::Shown))
        return false;
    CloseHandle(started.hThread);
    return true;
}

SECURITY_ATTRIBUTES inheritable()
{
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.bInheritHandle = TRUE;
    return attributes;
}

} // namespace

bool startProcess(const std::wstring &commandLine, const std::wstring &applicationName)
{
    PROCESS_INFORMATION started{};
    if (!startShown(commandLine, applicationName, started))
        return false;
    // The started program is forgotten at once.
    CloseHandle(started.hProcess);
    return true;
}

bool startKeptProcess(const std::wstring &commandLine, KeptProcess &kept)
{
    PROCESS_INFORMATION started{};
    if (!startShown(commandLine, {}, started))
        return false;
    kept = KeptProcess{started.hProcess, nullptr};
    return true;
}

void *createOutputFile(const std::wstring &path, bool &existed)
{
    SECURITY_ATTRIBUTES attributes = inheritable();
    const HANDLE file = CreateFileW(longPathForm(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &attributes,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    existed = GetLastError() == ERROR_ALREADY_EXISTS;
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

bool createOutputPipe(void *&childEnd, void *&ourEnd)
{
    SECURITY_ATTRIBUTES attributes = inheritable();
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &attributes, 0))
        return false;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    childEnd = write;
    ourEnd = read;
    return true;
}

std::string readAvailable(void *pipe, std::size_t maxSize)
{
    std::string bytes;
    DWORD available = 0;
    if (!pipe || !PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
        return bytes;
    bytes.resize(std::min<std::size_t>(available, maxSize));
    DWORD got = 0;
    if (!ReadFile(pipe, bytes.data(), DWORD(bytes.size()), &got, nullptr))
        got = 0;
    bytes.resize(got);
    return bytes;
}

bool startWithOutput(const std::wstring &commandLine, void *output, bool emptyOutput, KeptProcess &kept)
{
    SECURITY_ATTRIBUTES attributes = inheritable();
    const HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                                     OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input == INVALID_HANDLE_VALUE ? nullptr : input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    // Suspended until it is in its job, so that nothing it starts escapes.
    PROCESS_INFORMATION started{};
    // Watched by the Compile window: its status must come back.
    const bool ok = createProcess({}, commandLine, startup, true, CREATE_NO_WINDOW | CREATE_SUSPENDED, started,
                                  SystemBoxes::Suppressed);
    if (startup.hStdInput)
        CloseHandle(startup.hStdInput);
    if (!ok)
        return false;
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job && !AssignProcessToJobObject(job, started.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    // It has started and has not written yet: the previous output goes now.
    if (emptyOutput) {
        LARGE_INTEGER start{};
        SetFilePointerEx(output, start, nullptr, FILE_BEGIN);
        SetEndOfFile(output);
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    kept = KeptProcess{started.hProcess, job};
    return true;
}

bool processEnded(const KeptProcess &kept, unsigned long &exitCode)
{
    if (WaitForSingleObject(kept.process, 0) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(kept.process, &code);
    exitCode = code;
    return true;
}

bool jobRunning(const KeptProcess &kept)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (kept.job && QueryInformationJobObject(kept.job, JobObjectBasicAccountingInformation, &accounting,
                                              sizeof accounting, nullptr))
        return accounting.ActiveProcesses > 0;
    return WaitForSingleObject(kept.process, 0) != WAIT_OBJECT_0;
}

void stopProcess(const KeptProcess &kept)
{
    if (!kept.job || !TerminateJobObject(kept.job, 1))
        TerminateProcess(kept.process, 1);
}

void releaseProcess(KeptProcess &kept)
{
    for (HANDLE h : {kept.process, kept.job}) {
        if (h)
            CloseHandle(h);
    }
    kept = KeptProcess{};
}

bool openDocument(const std::wstring &path)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No box of the system's when nothing opens such files: the caller says so.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

bool runProcessAndWait(const std::wstring &commandLine, unsigned long &exitCode)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_SHOWNORMAL;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    // Only inheritable handles reach the child; a redirection's handles
    // need not be.
    for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        if (usable(h))
            SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    // Without a console of ours (both outputs redirected) a console program
    // would get a new one, in a window of its own that pops up and stays
    // empty: its output goes to our handles either way.
    const DWORD flags = GetConsoleWindow() ? 0 : CREATE_NO_WINDOW;
    PROCESS_INFORMATION started{};
    // Waited for by a build script: its status must come back.
    if (!createProcess({}, commandLine, startup, true, flags, started, SystemBoxes::Suppressed))
        return false;
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 0;
    const bool known = GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hProcess);
    exitCode = code;
    return known;
}

bool attachParentConsole()
{
    const bool outRedirected = usable(GetStdHandle(STD_OUTPUT_HANDLE));
    const bool errRedirected = usable(GetStdHandle(STD_ERROR_HANDLE));
    if (outRedirected && errRedirected)
        return true;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return outRedirected || errRedirected;
    // Read access too: the console's mode, which tells it from a file, can
    // be asked only through a handle that may read.
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return outRedirected || errRedirected;
    if (!outRedirected)
        SetStdHandle(STD_OUTPUT_HANDLE, console);
    if (!errRedirected)
        SetStdHandle(STD_ERROR_HANDLE, console);
    return true;
}

namespace {

HANDLE standardHandle(bool error)
{
    return GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
}

// Writes size units, at most chunk at a time, through write(offset, count,
// written); a failed or empty write ends it.
template <class Write>
bool inChunks(std::size_t size, std::size_t chunk, Write write)
{
    for (std::size_t done = 0; done < size;) {
        DWORD written = 0;
        if (!write(done, static_cast<DWORD>(std::min(size - done, chunk)), written) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool isConsole(bool error)
{
    const HANDLE handle = standardHandle(error);
    DWORD mode = 0;
    return usable(handle) && GetConsoleMode(handle, &mode);
}

bool writeConsole(bool error, const std::wstring &text)
{
    const HANDLE handle = standardHandle(error);
    return usable(handle) && inChunks(text.size(), 8192, [&](std::size_t at, DWORD count, DWORD &written) {
               return WriteConsoleW(handle, text.data() + at, count, &written, nullptr);
           });
}

bool writeBytes(bool error, const std::string &bytes)
{
    const HANDLE handle = standardHandle(error);
    return usable(handle) && inChunks(bytes.size(), 65536, [&](std::size_t at, DWORD count, DWORD &written) {
               return WriteFile(handle, bytes.data() + at, count, &written, nullptr);
           });
}

std::wstring longPathForm(const std::wstring &path)
{
    constexpr std::size_t kRoom = MAX_PATH - 12; // a directory's longest path
    if (path.size() < kRoom || path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    std::wstring p = path;
    for (wchar_t &c : p) {
        if (c == L'/')
            c = L'\\';
    }
    if (p.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + p.substr(2);
    if (p.size() >= 3 && p[1] == L':' && p[2] == L'\\')
        return L"\\\\?\\" + p;
    return path;
}

bool isPlainFile(const std::wstring &path)
{
    // Attributes rather than a directory search: a name with wildcards must
    // not match some other file.
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(longPathForm(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    constexpr DWORD excluded =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & excluded) == 0;
}

bool getKeyValue(std::uint32_t root, const std::string &keyPath, const std::string &valueName,
                 std::string &value)
{
    // Read access only: a standard user is refused write access to
    // HKEY_LOCAL_MACHINE, and nothing here writes.
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootHandle(root), keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        value.clear();
        return false;
    }

    unsigned char data[kRegistryBufferSize];
    DWORD size = static_cast<DWORD>(sizeof data);
    DWORD type = 0;
    const LONG queried = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data, &size);
    if (queried != ERROR_SUCCESS) {
        // ERROR_MORE_DATA too: a value longer than the buffer is not read.
        value.clear();
        RegCloseKey(key);
        return false;
    }
    decodeRegistryValue(type, data, size, value);
    RegCloseKey(key);
    return true;
}

} // namespace platform::win
