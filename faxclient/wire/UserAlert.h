#pragma once
// The fax libraries have no window of their own; what used to be a modal message box for
// the user (a log file that cannot be opened, a converter that cannot start) goes to one
// process-wide alert handler. The default writes the text as one line to stderr; a host
// program or a test installs its own.

#include <string>

namespace vestrel::fax {

using UserAlertHandler = void (*)(const std::string& text, void* context);

// Installs a handler (nullptr restores the default) and returns the previous one.
UserAlertHandler SetUserAlertHandler(UserAlertHandler handler, void* context);
void ShowUserAlert(const std::string& text);

// printf-style formatting into a std::string, used by the logs and alerts.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vestrel::fax
