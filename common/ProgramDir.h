#pragma once
// The program folder: where the executable lives, or $VESTREL_HOME when it is set. Every
// fixed path of the program (config.ini, Photo/, temp/ ...) is built from it.

#include <filesystem>

namespace vestrel {

std::filesystem::path ProgramDir();

// Fixed places inside the program folder.
namespace programpath {
std::filesystem::path ConfigFile();    // config.ini
std::filesystem::path PhotoDir();      // Photo/
std::filesystem::path TempDir();       // temp/
std::filesystem::path ThumbTempDir();  // temp/temp/
std::filesystem::path SignDir();       // Sign/
std::filesystem::path StampDir();      // Stamp/
std::filesystem::path OcrDir();        // OCR/
std::filesystem::path PdfDir();        // PDF/
std::filesystem::path ShutterSound();  // res/sound.wav
}  // namespace programpath

}  // namespace vestrel
