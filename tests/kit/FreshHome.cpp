#include "FreshHome.h"

#include <cstdlib>

namespace vestrel::testkit {

FreshHome::FreshHome(const std::filesystem::path& home) : home_(home)
{
    std::filesystem::create_directories(home_);
    if (const char* old = std::getenv("HOME")) {
        oldHome_ = old;
        hadHome_ = true;
    }
    if (const char* old = std::getenv("XDG_DATA_HOME")) {
        oldData_ = old;
        hadData_ = true;
    }
    ::setenv("HOME", home_.c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
}

FreshHome::~FreshHome()
{
    if (hadHome_) ::setenv("HOME", oldHome_.c_str(), 1);
    else ::unsetenv("HOME");
    if (hadData_) ::setenv("XDG_DATA_HOME", oldData_.c_str(), 1);
}

}  // namespace vestrel::testkit
