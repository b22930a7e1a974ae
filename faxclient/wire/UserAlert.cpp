#include "UserAlert.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace vestrel::fax {
namespace {

std::mutex alertMutex;
UserAlertHandler alertHandler = nullptr;
void* alertContext = nullptr;

}  // namespace

UserAlertHandler SetUserAlertHandler(UserAlertHandler handler, void* context)
{
    std::lock_guard lock(alertMutex);
    UserAlertHandler previous = alertHandler;
    alertHandler = handler;
    alertContext = context;
    return previous;
}

void ShowUserAlert(const std::string& text)
{
    std::lock_guard lock(alertMutex);
    if (alertHandler != nullptr) {
        alertHandler(text, alertContext);
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(needed));
    }
    va_end(args);
    return text;
}

}  // namespace vestrel::fax
