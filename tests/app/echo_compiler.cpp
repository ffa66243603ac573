// A stand-in compiler for the scripted-run tests: writes its working
// directory and arguments to standard output, one line to standard error,
// and ends with status 3. Plain C++, so it builds for every system.
#include <cstdio>
#include <filesystem>

int main(int argc, char *argv[])
{
    std::printf("cwd %s\n", std::filesystem::current_path().string().c_str());
    for (int i = 1; i < argc; ++i)
        std::printf("arg %s\n", argv[i]);
    std::fprintf(stderr, "stand-in compiler: status 3\n");
    return 3;
}
