#include "OcrFiles.h"

#include "ProgramDir.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace vestrel::ocr {
namespace {

bool IsFile(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string DatedStem(const std::tm& t)
{
    return std::to_string(t.tm_year + 1900) + "年" + std::to_string(t.tm_mon + 1) + "月" +
           std::to_string(t.tm_mday) + "日" + std::to_string(t.tm_hour) + "时" +
           std::to_string(t.tm_min) + "分" + std::to_string(t.tm_sec) + "秒";
}

std::string DatedStemNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DatedStem(local);
}

std::optional<std::filesystem::path> ClaimNewFile(const std::filesystem::path& folder,
                                                  const std::string& stem,
                                                  const std::string& extension)
{
    for (int n = 1; n < 10000; ++n) {
        // Appended, not concatenated: GCC 12 misjudges "_" + to_string at -O3.
        std::string suffix;
        if (n > 1) suffix.append("_").append(std::to_string(n));
        std::filesystem::path candidate = folder / (stem + suffix + extension);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> ShippedFile(const std::string& relative)
{
    if (const auto own = ProgramDir() / relative; IsFile(own)) return own;
    std::error_code ec;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        if (const auto installed = executable.parent_path() / relative; IsFile(installed))
            return installed;
    }
    return std::nullopt;
}

bool WriteWholeFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), std::streamsize(content.size()));
    out.close();
    return bool(out);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

}  // namespace vestrel::ocr
