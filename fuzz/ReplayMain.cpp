// The main of a fuzz target in the test build: without libFuzzer, the target's entry point
// runs once on every file named on the command line and every file of the folders named,
// in name order. The seed corpus and the crashers found so far replay this way under the
// sanitizers of the test build, so the fuzz code is built and run with every test run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool CollectInputs(const fs::path& arg, std::vector<fs::path>& inputs) {
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
        for (const auto& entry : fs::directory_iterator(arg, ec))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        return !ec;
    }
    if (fs::is_regular_file(arg, ec)) {
        inputs.push_back(arg);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!CollectInputs(argv[i], inputs)) {
            std::cerr << argv[0] << ": no such input: " << argv[i] << '\n';
            return 2;
        }
    }
    if (inputs.empty()) {
        std::cerr << "usage: " << argv[0] << " FILE-OR-FOLDER...  (nothing to replay)\n";
        return 2;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.eof() && in.fail()) {
            std::cerr << argv[0] << ": cannot read " << input << '\n';
            return 2;
        }
        // A buffer of exactly the input's size, as libFuzzer passes it, so that the address
        // sanitizer sees a read past the end.
        const std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), data.get());
        std::cerr << "replaying " << input.filename().string() << " (" << bytes.size() << " bytes)\n";
        LLVMFuzzerTestOneInput(data.get(), bytes.size());
    }
    std::cout << inputs.size() << " inputs replayed\n";
    return 0;
}
