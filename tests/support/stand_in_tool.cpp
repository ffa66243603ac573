// A stand-in for the kit's tools (editor, compiler) in the tests, built for
// every system: it writes its working directory and then its arguments, one
// a line, to standard output ("cwd ...", "arg ...") and to a record file
// beside itself (its own path with ".rec" for its extension, written aside
// and renamed, so a reader never sees half of it), then plays the script
// that TAVO_STAND_IN_SCRIPT names, if any, says its status on standard
// error and ends with the status TAVO_STAND_IN_STATUS gives (0 when unset).
// A script's lines:
//   @sleep MS      waits that long
//   @lines N       prints N lines "line 1".. at once
//   @errors N      prints N javac errors "E.java:1: error: number 1".. at once
//   @spawn SCRIPT  starts another stand-in playing SCRIPT, not waited for
//   @crash         ends as a crash does (a segmentation fault, an access
//                  violation)
//   !TEXT          TEXT on standard error
//   TEXT           TEXT on standard output
// Each line is written at once, so output and error keep their order.
// Plain C++; on Windows the arguments are read as the system's start-up
// code splits them, in UTF-16, and written as UTF-8.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
extern char **environ;
#endif

namespace fs = std::filesystem;

namespace {

void spawnSelf(const fs::path &self, const std::string &script);

[[noreturn]] void crash()
{
#ifdef _WIN32
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#else
    std::signal(SIGSEGV, SIG_DFL);
    std::raise(SIGSEGV);
#endif
    std::abort();
}

void play(const fs::path &self, const char *scriptFile)
{
    std::ifstream script(scriptFile, std::ios::binary);
    std::string line;
    while (std::getline(script, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("@sleep ", 0) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(line.c_str() + 7)));
        } else if (line.rfind("@lines ", 0) == 0) {
            for (long i = 1, n = std::atol(line.c_str() + 7); i <= n; ++i)
                std::printf("line %ld\n", i);
            std::fflush(stdout);
        } else if (line.rfind("@errors ", 0) == 0) {
            for (long i = 1, n = std::atol(line.c_str() + 8); i <= n; ++i)
                std::printf("E.java:%ld: error: number %ld\n", i, i);
            std::fflush(stdout);
        } else if (line.rfind("@spawn ", 0) == 0) {
            spawnSelf(self, line.substr(7));
        } else if (line == "@crash") {
            crash();
        } else if (!line.empty() && line[0] == '!') {
            std::fprintf(stderr, "%s\n", line.c_str() + 1);
            std::fflush(stderr);
        } else {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        }
    }
}

int run(const fs::path &self, const std::vector<std::string> &arguments)
{
    const std::string cwd = fs::current_path().u8string();
    std::string record = cwd + "\n";
    std::printf("cwd %s\n", cwd.c_str());
    for (const std::string &argument : arguments) {
        std::printf("arg %s\n", argument.c_str());
        record += argument + "\n";
    }
    std::fflush(stdout);
    fs::path file = self;
    file.replace_extension(".rec");
    fs::path part = file;
    part += ".part";
    {
        std::ofstream out(part, std::ios::binary);
        out << record;
    }
    std::error_code ignored;
    fs::rename(part, file, ignored);

    if (const char *script = std::getenv("TAVO_STAND_IN_SCRIPT"))
        play(self, script);
    // Any 32-bit exit code, such as an exception code past INT_MAX.
    const char *statusText = std::getenv("TAVO_STAND_IN_STATUS");
    const long long status = statusText ? std::strtoll(statusText, nullptr, 10) : 0;
    std::fprintf(stderr, "stand-in tool: status %s\n", statusText ? statusText : "0");
    return static_cast<int>(status);
}

} // namespace

#ifdef _WIN32
namespace {

void spawnSelf(const fs::path &self, const std::string &script)
{
    SetEnvironmentVariableA("TAVO_STAND_IN_SCRIPT", script.c_str());
    std::wstring line = L"\"" + self.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Its standard handles are ours: it writes where we write.
    if (CreateProcessW(self.wstring().c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

} // namespace

std::string utf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

int wmain(int argc, wchar_t *argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(utf8(argv[i]));
    wchar_t self[32768];
    GetModuleFileNameW(nullptr, self, 32768);
    return run(fs::path(self), arguments);
}
#else
namespace {

void spawnSelf(const fs::path &self, const std::string &script)
{
    setenv("TAVO_STAND_IN_SCRIPT", script.c_str(), 1);
    const std::string program = self.string();
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    pid_t pid = 0;
    posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ);
}

} // namespace

int main(int argc, char *argv[])
{
    return run(fs::canonical("/proc/self/exe"), std::vector<std::string>(argv + 1, argv + argc));
}
#endif
