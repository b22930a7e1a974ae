#include "TiffHandle.h"

#include <cstdarg>
#include <cstdio>

namespace vestrel::doctiff {
namespace {

int CollectMessage(TIFF*, void* user, const char* module, const char* fmt, va_list ap) {
    auto* messages = static_cast<TiffMessages*>(user);
    char buffer[512] = "(no text)";
    if (fmt) std::vsnprintf(buffer, sizeof buffer, fmt, ap);
    if (messages->text.size() < 4096) {
        if (!messages->text.empty()) messages->text += "; ";
        if (module) messages->text += std::string(module) + ": ";
        messages->text += buffer;
    }
    return 1;  // handled: keep libtiff's default handler quiet
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// No single libtiff buffer may exceed this; a hostile header cannot make us allocate more.
constexpr tmsize_t kMaxSingleAllocation = 512 * 1024 * 1024;

}  // namespace

TiffPtr OpenTiff(const std::string& path, const char* mode, TiffMessages& messages) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, CollectMessage, &messages);
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
    TIFF* tif = TIFFOpenExt(path.c_str(), mode, options);
    TIFFOpenOptionsFree(options);
    return TiffPtr(tif);
}

}  // namespace vestrel::doctiff
