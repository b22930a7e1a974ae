// Feeds arbitrary text to the registry file: whatever it reads, writing it back and
// reading that again gives the same text, and looking a class up never fails hard.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "RegistryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using vestrel::com::RegistryFile;
    RegistryFile registry;
    registry.Parse(std::string(reinterpret_cast<const char*>(data), size));
    vestrel::com::FindInprocServer(registry, "Wimbrel.FaxClientX");
    registry.SetKey("HKEY_CLASSES_ROOT\\Wimbrel.Fuzz", {{"", "a \"quoted\" \\ value"}, {"Name", "x"}});
    registry.RemoveTree("HKEY_CLASSES_ROOT\\CLSID");
    const std::string once = registry.Text();
    RegistryFile again;
    again.Parse(once);
    if (again.Text() != once || again.Value("HKEY_CLASSES_ROOT\\Wimbrel.Fuzz") != "a \"quoted\" \\ value")
        std::abort();
    return 0;
}
