// Runs every file of the folders given on the command line through a fuzz
// target's entry point once, so the inputs the fuzzer kept are checked by the
// sanitizer build of the tests on every run. Exits 1 when a folder is empty or
// unreadable, so a lost corpus cannot pass for a clean one.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int ReplayFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++count;
    }
    if (error || count == 0) {
        std::fprintf(stderr, "no inputs in %s\n", folder.c_str());
        return -1;
    }
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    int total = 0;
    for (int i = 1; i < argc; ++i) {
        const int count = ReplayFolder(argv[i]);
        if (count < 0)
            return 1;
        total += count;
    }
    std::printf("%d inputs replayed\n", total);
    return argc > 1 ? 0 : 1;
}
