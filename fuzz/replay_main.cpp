// Replays saved inputs through a fuzz target without the fuzzer: every file
// of the folders (or the files) named on the command line is given to
// LLVMFuzzerTestOneInput once. The test build runs each target over its
// fuzz/regress folder under the sanitizers, so a crash once found and fixed
// stays fixed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace
{
int Replay(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("%s (%zu bytes)\n", path.c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    int failures = 0;
    int replayed = 0;
    for (int i = 1; i < argc; ++i)
    {
        const fs::path path(argv[i]);
        std::error_code ec;
        if (fs::is_directory(path, ec))
        {
            std::vector<fs::path> files;
            for (const fs::directory_entry& entry : fs::directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files)
            {
                failures += Replay(file);
                ++replayed;
            }
        }
        else if (fs::exists(path, ec))
        {
            failures += Replay(path);
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return failures == 0 ? 0 : 1;
}
