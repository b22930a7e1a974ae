#pragma once
// Finds a file's format from its first bytes, for callers that do not know the type.

#include "CodecImageOps.h"

namespace vestrel::codecs {

// A type code, or kTypeUnknown when no signature matches. WBMP and PGX headers are too
// weak to recognise from content and are only read when named.
int SniffFileType(Bytes file);

}  // namespace vestrel::codecs
