#include "CompositionList.h"

#include "IniFile.h"
#include "PdfMessages.h"
#include "ProgramDir.h"
#include "StorageFolder.h"

#include <algorithm>

namespace vestrel::output {
namespace {

constexpr std::size_t kPathReadLimit = 1024;

std::vector<std::size_t> validSorted(std::vector<std::size_t> selected, std::size_t size)
{
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    selected.erase(std::remove_if(selected.begin(), selected.end(),
                                  [size](std::size_t index) { return index >= size; }),
                   selected.end());
    return selected;
}

std::string defaultSaveFolder()
{
    return programpath::PdfDir().string();
}

}  // namespace

std::vector<std::size_t> moveUp(std::vector<std::string>& list, std::vector<std::size_t> selected,
                                Prompter& prompter)
{
    selected = validSorted(std::move(selected), list.size());
    if (selected.empty())
        return selected;
    if (selected.front() == 0) {
        prompter.message(kAlreadyAtTop, kPromptCaption);
        return selected;
    }
    for (auto& index : selected) {
        std::swap(list[index - 1], list[index]);
        --index;
    }
    return selected;
}

std::vector<std::size_t> moveDown(std::vector<std::string>& list,
                                  std::vector<std::size_t> selected, Prompter& prompter)
{
    selected = validSorted(std::move(selected), list.size());
    if (selected.size() > kSelectionTableSize)
        selected.resize(kSelectionTableSize);
    if (selected.empty())
        return selected;
    if (selected.back() + 1 == list.size()) {
        prompter.message(kAlreadyAtBottom, kPromptCaption);
        return selected;
    }
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        std::swap(list[*it], list[*it + 1]);
        ++*it;
    }
    return selected;
}

void removeSelected(std::vector<std::string>& list, std::vector<std::size_t> selected)
{
    selected = validSorted(std::move(selected), list.size());
    if (selected.size() > kSelectionTableSize)
        selected.resize(kSelectionTableSize);
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        list.erase(list.begin() + std::ptrdiff_t(*it));
}

std::string loadPdfSaveFolder()
{
    IniFile config(programpath::ConfigFile());
    config.load();
    const std::string stored = config.readString("Pdf", "SavePath", "", kPathReadLimit);
    return stored.empty() ? defaultSaveFolder() : stored;
}

bool storePdfSaveFolder(const std::string& folder)
{
    IniFile config(programpath::ConfigFile());
    config.load();
    config.writeString("Pdf", "SavePath", folder.empty() ? defaultSaveFolder() : folder);
    return config.save();
}

std::string chooseSaveFolder(const std::string& current, const std::string& chosen,
                             Prompter& prompter)
{
    if (chosen.empty())
        return current;
    return RefuseSystemRoot(chosen, prompter) ? current : chosen;
}

}  // namespace vestrel::output
