#include "LibraryOpen.h"

#include "CQuorvanDoc.h"
#include "LibraryMessages.h"

#include <filesystem>
#include <system_error>

namespace vestrel::library {
namespace {

bool Ask(const std::function<bool()>& question)
{
    return !question || question();
}

void Call(const std::function<void()>& hook)
{
    if (hook) hook();
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool OpenPdf(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
             const std::string& name)
{
    if (!Ask(hooks.confirmStopEBook)) return false;
    const std::string path = doc.PhotoDir() + name;
    // Without this check a vanished PDF would be blamed on a missing PDF reader.
    if (!FileExists(path)) {
        prompter.message(msg::kOpenMissing);
        doc.RefreshLibrary();
        return false;
    }
    if (!hooks.openWithDesktop || !hooks.openWithDesktop(path)) {
        prompter.message(msg::kInstallPdfReader);
        return false;
    }
    return true;
}

bool OpenImage(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
               const std::string& name, bool zoomToOne)
{
    if (!doc.SaveIfWanted()) return false;
    doc.ClearHistory();
    doc.LoadFile(doc.PhotoDir() + name);
    if (!doc.Image()) {
        prompter.message(msg::kOpenMissing);
        doc.RefreshLibrary();
        return false;
    }
    if (hooks.liveShown && hooks.liveShown()) Call(hooks.leaveLiveView);
    if (zoomToOne) doc.SetZoom(1.0f);
    Call(hooks.showLoadedImage);
    Call(hooks.activateImageView);
    return true;
}

}  // namespace

bool OpensAsPdf(const std::string& name)
{
    const auto dot = name.rfind('.');
    return dot != std::string::npos && name.compare(dot + 1, std::string::npos, "pdf") == 0;
}

bool OpenLibraryEntry(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
                      const std::string& name)
{
    if (!name.empty() && OpensAsPdf(name)) return OpenPdf(doc, prompter, hooks, name);
    if (!Ask(hooks.confirmEndIdCardCopy)) return false;
    if (name.empty()) {
        Call(hooks.activateImageView);
        return false;
    }
    return OpenImage(doc, prompter, hooks, name, false);
}

bool ViewLibraryEntry(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
                      const std::string& name)
{
    if (name.empty()) return false;
    if (OpensAsPdf(name)) return OpenPdf(doc, prompter, hooks, name);
    return OpenImage(doc, prompter, hooks, name, true);
}

}  // namespace vestrel::library
