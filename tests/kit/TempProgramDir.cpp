#include "TempProgramDir.h"

#include "TestDataPath.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vestrel::testkit {

TempProgramDir::TempProgramDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vestrel-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary program folder");
    root_ = pattern;
    for (const char* sub : {"Photo", "temp/temp", "Sign", "Stamp", "OCR", "PDF", "res"})
        std::filesystem::create_directories(root_ / sub);
    std::filesystem::create_directory_symlink(VESTREL_SHIPPED_ICONS_DIR, root_ / "res" / "icons");
    if (const char* home = std::getenv("VESTREL_HOME")) {
        hadHome_ = true;
        previousHome_ = home;
    }
    ::setenv("VESTREL_HOME", root_.c_str(), 1);
}

TempProgramDir::~TempProgramDir()
{
    if (hadHome_) ::setenv("VESTREL_HOME", previousHome_.c_str(), 1);
    else ::unsetenv("VESTREL_HOME");
    std::error_code ec;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(root_, ec);
}

std::filesystem::path TempProgramDir::writeFile(const std::string& relative, const std::string& content) const
{
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string TempProgramDir::readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::filesystem::path TestDataDir() { return VESTREL_TEST_DATA_DIR; }

}  // namespace vestrel::testkit
