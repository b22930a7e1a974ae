#pragma once
// The files of text recognition: the dated names of its results in OCR/, outputs that
// never replace a file already there, and the data shipped with the program (the
// document template and the blank canvas), found in the program folder or, when the user's
// folder lacks them, beside the installed executable.

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace vestrel::ocr {

inline constexpr const char* kTemplateName = "Doc.fodt";
inline constexpr const char* kCanvasName = "temp/gssmy.jpg";
inline constexpr const char* kBitmapName = "OCR.BMP";
inline constexpr const char* kTiffName = "OCR.TIF";

// "2026年12月8日9时5分3秒": year, month, day, hour, minute, second without leading zeros.
std::string DatedStem(const std::tm& localTime);
std::string DatedStemNow();

// `folder`/`stem``extension`, or with "_2", "_3" ... after the stem when that is taken.
// The file is created empty (exclusively) so that two runs never pick the same name;
// nothing when no name could be created.
std::optional<std::filesystem::path> ClaimNewFile(const std::filesystem::path& folder,
                                                  const std::string& stem,
                                                  const std::string& extension);

// A shipped data file (`relative` below the program folder): the program folder's own copy
// when there is one, else the installation's (the executable's folder). Nothing when
// neither exists.
std::optional<std::filesystem::path> ShippedFile(const std::string& relative);

bool WriteWholeFile(const std::filesystem::path& path, const std::string& content);
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace vestrel::ocr
