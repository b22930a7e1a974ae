#include "CommandLine.h"

#include <array>
#include <string_view>

namespace vestrel {
namespace {

// Options followed by a value of their own.
constexpr std::array<std::string_view, 3> kValuedOptions = {"--camera", "--screenshot",
                                                            "--timed-scan-report"};

bool TakesValue(std::string_view option)
{
    for (std::string_view valued : kValuedOptions)
        if (option == valued) return true;
    return false;
}

}  // namespace

std::string FileArgument(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("-")) {
            if (TakesValue(arg)) ++i;
            continue;
        }
        return std::string(arg);
    }
    return {};
}

}  // namespace vestrel
