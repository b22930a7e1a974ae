#include "ScratchRoot.h"

#include <cstdlib>

namespace vestrel::fax {

std::string TolvyRoot()
{
    const char* root = std::getenv("TOLVY_ROOT");
    if (root == nullptr || *root == '\0')
        return "/tmp";
    std::string folder = root;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string TolvyPath(const std::string& name)
{
    return TolvyRoot() + "/" + name;
}

}  // namespace vestrel::fax
