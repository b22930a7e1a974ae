#pragma once
// The capability list of the record dialog: one text per pixel format the camera offers,
// its name and a colon followed by every size offered in it as "%d*%d " ("YUY2:640*480
// 1280*720 "). The names are the ones the dialog has always shown; a format without one
// is "UNKNOWTPYE:" (sic, as users know it). Also the dialog's reading of those texts.

#include "CaptureTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vestrel {
class CVideoCapture;
}

namespace vestrel::recording {

// The dialog's name of a V4L2 pixel format, with its colon.
std::string FormatName(std::uint32_t fourcc);

// The list for `formats`: the camera's own formats, or every format when the conversion
// library makes them all.
std::vector<std::string> CapabilityList(const std::vector<PixelFormatInfo>& formats);
// The list of the camera's open device; empty without one.
std::vector<std::string> ListCapabilities(CVideoCapture& capture);

// An entry's name part (before the colon) and its sizes (after it, split at blanks, empty
// parts dropped).
std::string CapabilityName(const std::string& entry);
std::vector<std::string> CapabilitySizes(const std::string& entry);

// A size text of the list ("1280*720"); 640 x 480 when it does not split into two numbers.
FrameSize ParseRecordSize(const std::string& text);

inline constexpr const char* kPreferredRecordSize = "640*480";

}  // namespace vestrel::recording
