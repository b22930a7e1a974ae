#pragma once
// GUIDs as the registry writes them: "{8A76BE4B-A23C-416A-B821-1986C207C9E1}".

#include "comabi.h"

#include <optional>
#include <string>
#include <string_view>

namespace vestrel::com {

bool SameGuid(const GUID& a, const GUID& b);
std::string FormatGuid(const GUID& guid);
// Accepts the braced form in either case; nothing for anything else.
std::optional<GUID> ParseGuid(std::string_view text);

}  // namespace vestrel::com
