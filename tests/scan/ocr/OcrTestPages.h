#pragma once
// Pictures of known text for the recognition tests: black Latin text on white, drawn with
// the program's own text drawing, small enough to keep the tests quick.

#include "CxImage.h"
#include "TextRecognition.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vestrel::testkit {

// A white picture with `lines` drawn from (x, y) down, `pixelSize` high, in Liberation Sans.
CxImage TextPicture(int width, int height, const std::vector<std::string>& lines, int x = 20,
                    int y = 20, int pixelSize = 28);

// The recogniser reads English only in the tests: one language loads quickly.
inline constexpr const char* kTestLanguage = "eng";

// Lower case, letters and digits only: what two readings of the same words share.
std::string Letters(const std::string& text);

// An opener that records what it was asked to open and answers from its settings.
class RecordingOpener final : public ocr::DesktopOpener {
public:
    bool documents = true;  // a word processor is there
    bool texts = true;      // a text editor is there
    std::vector<std::filesystem::path> opened;
    bool open(const std::filesystem::path& file) override
    {
        const bool ok = file.extension() == ".fodt" ? documents : texts;
        if (ok) opened.push_back(file);
        return ok;
    }
};

// Installs the shipped template and canvas into the test's program folder.
void InstallShippedData(const std::filesystem::path& programDir);

}  // namespace vestrel::testkit
