// The TIFF processor's command parser on arbitrary text: it must answer with a command or
// a reason, never crash, and every command it accepts must hold numbers in range.

#include "TiffCommand.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vestrel::doctiff;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto cmd = ParseTiffCommand(text, error);
    if (!cmd) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (cmd->input.empty() || (cmd->output.empty() && cmd->query == TiffQuery::None)) std::abort();
    if (cmd->firstPage < 0 || cmd->firstPage > cmd->lastPage || cmd->lastPage > kMaxCommandNumber)
        std::abort();
    if (cmd->pageWidth < 0 || cmd->pageWidth > kMaxCommandNumber || cmd->xResolution < 0 ||
        cmd->xResolution > kMaxCommandNumber)
        std::abort();
    return 0;
}
