#include "RegistryFile.h"

#include "Guid.h"

#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vestrel::com {
namespace {

constexpr const char* kHeader = "REGEDIT4";

bool SamePath(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && ::strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

bool IsBelow(const std::string& path, const std::string& root)
{
    return path.size() > root.size() && path[root.size()] == '\\' &&
           ::strncasecmp(path.c_str(), root.c_str(), root.size()) == 0;
}

std::string Quote(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// A quoted string starting at text[at]; advances past its closing quote.
std::optional<std::string> Unquote(const std::string& text, std::size_t& at)
{
    if (at >= text.size() || text[at] != '"')
        return std::nullopt;
    std::string out;
    for (++at; at < text.size(); ++at) {
        if (text[at] == '\\' && at + 1 < text.size()) {
            out += text[++at];
        } else if (text[at] == '"') {
            ++at;
            return out;
        } else {
            out += text[at];
        }
    }
    return std::nullopt;
}

// `@="..."` or `"Name"="..."`; other value kinds (dword:...) keep their text after '='.
std::optional<RegistryValue> ParseValue(const std::string& line)
{
    RegistryValue value;
    std::size_t at = 0;
    if (line.rfind("@=", 0) == 0) {
        at = 1;
    } else {
        auto name = Unquote(line, at);
        if (!name)
            return std::nullopt;
        value.name = *name;
    }
    if (at >= line.size() || line[at] != '=')
        return std::nullopt;
    ++at;
    if (auto data = Unquote(line, at))
        value.data = *data;
    else
        value.data = line.substr(at);
    return value;
}

std::string TrimEnd(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

}  // namespace

std::string RegistryFile::DefaultPath()
{
    if (const char* explicitPath = std::getenv("WIMBREL_REGISTRY"); explicitPath != nullptr && *explicitPath)
        return explicitPath;
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home)
        config = fs::path(home) / ".config";
    else
        config = fs::temp_directory_path();
    return (config / "wimbrel" / "registry.reg").string();
}

bool RegistryFile::Load(const std::string& path, std::string& error)
{
    Parse("");
    std::error_code ec;
    if (!fs::exists(path, ec))
        return true;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    Parse(text.str());
    return true;
}

void RegistryFile::Parse(const std::string& text)
{
    preamble_.clear();
    keys_.clear();
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::string trimmed = TrimEnd(line);
        if (!trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']') {
            keys_.push_back(RegistryKey{trimmed.substr(1, trimmed.size() - 2), {}, {trimmed}});
            continue;
        }
        if (keys_.empty()) {
            preamble_.push_back(trimmed);
            continue;
        }
        keys_.back().lines.push_back(trimmed);
        if (auto value = ParseValue(trimmed))
            keys_.back().values.push_back(std::move(*value));
    }
}

std::string RegistryFile::Text() const
{
    std::ostringstream text;
    if (preamble_.empty()) {
        text << kHeader << "\n\n";
    } else {
        for (const std::string& line : preamble_)
            text << line << '\n';
    }
    for (const RegistryKey& key : keys_) {
        if (!key.lines.empty()) {
            for (const std::string& line : key.lines)
                text << line << '\n';
            continue;
        }
        text << '[' << key.path << "]\n";
        for (const RegistryValue& value : key.values)
            text << (value.name.empty() ? std::string("@") : Quote(value.name)) << '=' << Quote(value.data) << '\n';
        text << '\n';
    }
    return text.str();
}

bool RegistryFile::Save(const std::string& path, std::string& error) const
{
    std::error_code ec;
    const fs::path target(path);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);
    if (ec) {
        error = "cannot create " + target.parent_path().string() + ": " + ec.message();
        return false;
    }
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << Text();
        out.flush();
        if (!out) {
            error = "cannot write " + temporary;
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        error = "cannot replace " + path + ": " + ec.message();
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

void RegistryFile::SetKey(const std::string& path, std::vector<RegistryValue> values)
{
    for (RegistryKey& key : keys_) {
        if (SamePath(key.path, path)) {
            key = RegistryKey{path, std::move(values), {}};
            return;
        }
    }
    keys_.push_back(RegistryKey{path, std::move(values), {}});
}

int RegistryFile::RemoveTree(const std::string& path)
{
    const auto before = keys_.size();
    std::erase_if(keys_, [&](const RegistryKey& key) { return SamePath(key.path, path) || IsBelow(key.path, path); });
    return static_cast<int>(before - keys_.size());
}

const RegistryKey* RegistryFile::Find(const std::string& path) const
{
    for (const RegistryKey& key : keys_) {
        if (SamePath(key.path, path))
            return &key;
    }
    return nullptr;
}

std::optional<std::string> RegistryFile::Value(const std::string& path, const std::string& name) const
{
    const RegistryKey* key = Find(path);
    if (key == nullptr)
        return std::nullopt;
    for (const RegistryValue& value : key->values) {
        if (value.name.size() == name.size() && ::strncasecmp(value.name.c_str(), name.c_str(), name.size()) == 0)
            return value.data;
    }
    return std::nullopt;
}

std::optional<InprocServer> FindInprocServer(const RegistryFile& registry, const std::string& progId)
{
    const std::string root = std::string(kClassesRoot) + "\\";
    auto clsidText = registry.Value(root + progId + "\\CLSID");
    if (!clsidText) {
        if (auto current = registry.Value(root + progId + "\\CurVer"))
            clsidText = registry.Value(root + *current + "\\CLSID");
    }
    if (!clsidText)
        return std::nullopt;
    const auto clsid = ParseGuid(*clsidText);
    if (!clsid)
        return std::nullopt;
    const auto module = registry.Value(root + "CLSID\\" + *clsidText + "\\InprocServer32");
    if (!module || module->empty())
        return std::nullopt;
    return InprocServer{*clsid, *module};
}

}  // namespace vestrel::com
