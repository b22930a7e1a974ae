// Feeds arbitrary text to the script parser: it reads every statement or reports a line
// that exists.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrel::wimbrelscript;
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::vector<Statement> statements;
    ParseError error;
    if (!ParseScript(source, statements, error)) {
        if (error.line < 1 || error.message.empty())
            std::abort();
        return 0;
    }
    for (const Statement& s : statements) {
        if (s.line < 1 || (s.kind == Statement::Kind::Put && s.arguments.size() != 1))
            std::abort();
    }
    return 0;
}
