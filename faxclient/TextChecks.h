#pragma once
// The checks made on the caller's texts before anything is sent, and the local name of a
// received fax.

#include <optional>
#include <string>
#include <string_view>

namespace vestrel::fax {

// Null or longer than `maxChars` characters fails.
bool TextFits(const char* text, std::size_t maxChars);
// Digits and '-' only; an empty number passes.
bool FaxNumberCharactersValid(std::string_view number);
// The path ends in .TIF, .DOC, .XLS, .PDF, .PPT, .JPG, .BMP or .GIF, in any case.
bool DocumentTypeAccepted(std::string_view path);
// "SendFax\" + job number + "." + the path's last three characters.
std::string SendRemoteName(std::string_view jobNo, std::string_view documentPath);

// The file name a received fax gets in the caller's folder: the remote name's last part
// after any '\' or '/'. Nothing when that part is empty, "." or "..", or holds a control
// character: a name the server chose must never lead out of the caller's folder.
std::optional<std::string> ReceivedFaxFileName(std::string_view remoteName);
// The remote name's part after its last '\' (all of it when there is none).
std::string_view AfterLastBackslash(std::string_view remoteName);

}  // namespace vestrel::fax
