#pragma once
// The rules of the file-name dialog (211), kept apart from any dialog so the desktop
// dialog, the PDF composition and vestrel-scan all judge a typed name the same way.

#include <string>
#include <string_view>

namespace vestrel::scan {

// The dialog's edit field takes at most this many characters.
inline constexpr std::size_t kFileNameFieldLimit = 255;

struct FileNameVerdict {
    bool accepted = false;
    std::string name;      // the accepted base name (cut before its first dot)
    std::string message;   // why it was refused: one of the dialog's messages
    bool clearField = false;  // the dialog empties its field after this refusal
};

// Judges the typed text: empty is refused; the text is cut before its first dot; slashes,
// '*', '?', '<', '>', '"', '|' and backslashes are refused; 255 characters or more are
// refused (254 pass). A text that the cut leaves empty (".jpg") counts as empty, and a name
// that with `extension` would not fit the 255 bytes a Linux file name may have counts as
// too long, so an accepted name can always be stored.
FileNameVerdict CheckTypedFileName(std::string_view text, std::string_view extension = {});

}  // namespace vestrel::scan
