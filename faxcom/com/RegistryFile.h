#pragma once
// The component registry: a text file in REGEDIT4 form, "[HKEY_CLASSES_ROOT\...]" sections
// holding `@="default"` and `"Name"="value"` lines. Sections that are not ours are kept as
// they were written, line for line; ours are replaced or removed as a whole tree. Key
// paths compare without regard to case, as registry keys do.

#include "comabi.h"

#include <optional>
#include <string>
#include <vector>

namespace vestrel::com {

inline constexpr const char* kClassesRoot = "HKEY_CLASSES_ROOT";

struct RegistryValue {
    std::string name;  // empty: the key's default value (@)
    std::string data;
};

struct RegistryKey {
    std::string path;
    std::vector<RegistryValue> values;
    std::vector<std::string> lines;  // the section as read (empty for keys made here)
};

class RegistryFile {
public:
    // $WIMBREL_REGISTRY when set, else $XDG_CONFIG_HOME/wimbrel/registry.reg, else
    // ~/.config/wimbrel/registry.reg.
    static std::string DefaultPath();

    // A file that does not exist reads as an empty registry.
    bool Load(const std::string& path, std::string& error);
    // Creates the folder when missing; the file is replaced in one rename, so readers
    // never see half of it.
    bool Save(const std::string& path, std::string& error) const;
    // The same from and to text.
    void Parse(const std::string& text);
    std::string Text() const;

    // Adds the key, replacing one of the same path.
    void SetKey(const std::string& path, std::vector<RegistryValue> values);
    // Removes the key and every key below it; returns how many sections went.
    int RemoveTree(const std::string& path);

    const RegistryKey* Find(const std::string& path) const;
    std::optional<std::string> Value(const std::string& path, const std::string& name = "") const;
    const std::vector<RegistryKey>& keys() const { return keys_; }

private:
    std::vector<std::string> preamble_;
    std::vector<RegistryKey> keys_;
};

struct InprocServer {
    CLSID clsid;
    std::string modulePath;
};

// The class and in-process module a ProgID names, following a version-independent
// ProgID's CurVer when it has no CLSID of its own.
std::optional<InprocServer> FindInprocServer(const RegistryFile& registry, const std::string& progId);

}  // namespace vestrel::com
