// Feeds every file of a seed corpus to its fuzz target, in name order, so
// that the normal build and CI run every seed without libFuzzer.
//   quarnet-fuzz-replay <target> <corpus folder>
#include "FuzzTargets.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <typeinfo>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: quarnet-fuzz-replay <target> <corpus folder>\n";
        return 2;
    }
    const std::string name = argv[1];
    const auto target = std::find_if(std::begin(FuzzTargets), std::end(FuzzTargets),
        [&](const FuzzTarget &t) { return name == t.name; });
    if (target == std::end(FuzzTargets)) {
        std::cerr << "no fuzz target " << name << "\n";
        return 2;
    }
    std::vector<fs::path> files;
    for (const auto &entry : fs::directory_iterator(argv[2]))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::cerr << "no seeds in " << argv[2] << "\n";
        return 1;
    }
    for (const fs::path &file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{ std::istreambuf_iterator<char>(in), {} };
        std::cout << file.filename().string() << " (" << bytes.size() << " bytes)" << std::endl;
        try {
            target->run(bytes);
        } catch (const std::exception &e) {
            std::cerr << file << ": unexpected " << typeid(e).name() << ": " << e.what() << "\n";
            return 1;
        } catch (...) {
            std::cerr << file << ": unexpected exception\n";
            return 1;
        }
    }
    std::cout << files.size() << " seeds of " << name << " replayed\n";
    return 0;
}
