// Feeds arbitrary bytes to the config.ini parser, then reads every key the program reads
// and writes them back, so the reader, the limits and the writer all see hostile text.
#include "IniFile.h"
#include "Settings.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vestrel::IniFile ini("/nonexistent/config.ini");
    ini.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    vestrel::Settings settings = vestrel::DefaultSettings("/prog");
    vestrel::LoadConfig(ini, "/prog", settings);
    vestrel::SaveConfig(settings, ini);
    vestrel::IniFile again("/nonexistent/config.ini");
    again.parse(ini.text());
    vestrel::Settings reread = vestrel::DefaultSettings("/prog");
    vestrel::LoadConfig(again, "/prog", reread);
    return 0;
}
