// SPDX-License-Identifier: MIT
// A main for the fuzz targets where libFuzzer is not available (gcc builds, such as the
// coverage build): runs the target once on each file named, or on each file of each
// directory named, in name order. An oracle failure aborts; the coverage counters
// gathered so far are written out first.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" __attribute__((weak)) void __gcov_dump(void);

namespace {

void onAbort(int)
{
    if (__gcov_dump)
        __gcov_dump();
    std::_Exit(1);
}

std::vector<std::string> inputs(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            continue; // libFuzzer options
        if (!fs::is_directory(argv[i])) {
            files.emplace_back(argv[i]);
            continue;
        }
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(argv[i]))
            if (entry.is_regular_file())
                found.push_back(entry.path().string());
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    std::signal(SIGABRT, onAbort);
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    const std::vector<std::string> files = inputs(argc, argv);
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "replaying %s\n", file.c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
