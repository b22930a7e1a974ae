#pragma once
// $HOME points at a fresh folder without a data folder (so no trash yet) while this lives,
// so that moving files to the trash happens inside the test's own folder.

#include <filesystem>
#include <string>

namespace vestrel::testkit {

class FreshHome {
public:
    // Creates `home` and makes it $HOME; $XDG_DATA_HOME is unset meanwhile.
    explicit FreshHome(const std::filesystem::path& home);
    ~FreshHome();
    FreshHome(const FreshHome&) = delete;
    FreshHome& operator=(const FreshHome&) = delete;

    const std::filesystem::path& path() const { return home_; }

private:
    std::filesystem::path home_;
    std::string oldHome_, oldData_;
    bool hadHome_ = false;
    bool hadData_ = false;
};

}  // namespace vestrel::testkit
