#pragma once
// The program's command line: options for developers and the camera, and the standard file
// argument (a file name opens that image as the current document).

#include <string>

namespace vestrel {

// The first argument that is neither an option nor the value of one; empty when none.
// Options that take a value take the next argument unless written as --option=value.
std::string FileArgument(int argc, const char* const* argv);

}  // namespace vestrel
