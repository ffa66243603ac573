// A stand-in for the kit's tools (editor, compiler) in the tests, built for
// every system: it writes its working directory and then its arguments, one
// a line, to standard output ("cwd ...", "arg ...") and to a record file
// beside itself (its own path with ".rec" for its extension, written aside
// and renamed, so a reader never sees half of it), says its status on
// standard error and ends with the status TAVO_STAND_IN_STATUS gives (0
// when unset). Plain C++; on Windows the arguments are read as the system's
// start-up code splits them, in UTF-16, and written as UTF-8.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int run(const fs::path &self, const std::vector<std::string> &arguments)
{
    const std::string cwd = fs::current_path().u8string();
    std::string record = cwd + "\n";
    std::printf("cwd %s\n", cwd.c_str());
    for (const std::string &argument : arguments) {
        std::printf("arg %s\n", argument.c_str());
        record += argument + "\n";
    }
    // Any 32-bit exit code, such as an exception code past INT_MAX.
    const char *statusText = std::getenv("TAVO_STAND_IN_STATUS");
    const long long status = statusText ? std::strtoll(statusText, nullptr, 10) : 0;
    std::fprintf(stderr, "stand-in tool: status %s\n", statusText ? statusText : "0");

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
    return static_cast<int>(status);
}

} // namespace

#ifdef _WIN32
#include <windows.h>

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
int main(int argc, char *argv[])
{
    return run(fs::canonical("/proc/self/exe"), std::vector<std::string>(argv + 1, argv + argc));
}
#endif
