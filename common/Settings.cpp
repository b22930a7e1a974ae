#include "Settings.h"

#include <algorithm>
#include <cctype>
#include <iostream>

namespace vestrel {
namespace {

constexpr std::size_t kIntLimit = 4;      // numbers of up to four digits
constexpr std::size_t kFlagLimit = 1;     // one-character switches and modes
constexpr std::size_t kPathLimit = 260;
constexpr std::size_t kTextLimit = 254;
constexpr std::size_t kIdLimit = 7;

std::string photoDirOf(const std::filesystem::path& programDir)
{
    return (programDir / "Photo" / "").string();
}

// The extension of stored scans: a dot and letters or digits, nothing that reads as a folder.
bool IsPlainExtension(const std::string& extension)
{
    return extension.size() >= 2 && extension[0] == '.' &&
           std::all_of(extension.begin() + 1, extension.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// The book name starts every stored file's name: no folder separator, and not a name that
// means the folder itself or its parent.
bool IsPlainBookName(const std::string& name)
{
    return name != "." && name != ".." && name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

// A hand-edited value that would put scans outside the photo folder takes the default.
void RefuseUnless(bool plain, const char* key, std::string& value, const char* fallback)
{
    if (plain) return;
    std::cerr << "vestrel: config.ini: " << key << "=" << value << " refused (it would store scans outside "
              << "the photo folder); using " << fallback << '\n';
    value = fallback;
}

}  // namespace

int StateFromOrientation(const Orientation& o)
{
    const int set = int(o.upsideDown) + int(o.rotateLeft) + int(o.rotateRight);
    if (set != 1) return 0;
    return o.upsideDown ? 1 : o.rotateLeft ? 2 : 3;
}

void ApplyState(int state, Orientation& o)
{
    if (state < 0 || state > 3) return;
    o = Orientation{state == 1, state == 2, state == 3};
}

std::string DefaultMailAddress() { return "https://mail.163.com/"; }

Settings DefaultSettings(const std::filesystem::path& programDir)
{
    Settings s;
    s.path = photoDirOf(programDir);
    s.address = DefaultMailAddress();
    return s;
}

void LoadConfig(const IniFile& ini, const std::filesystem::path& programDir, Settings& s)
{
    s.vid = ini.readString("Other", "vid", "18ec", kIdLimit);
    s.pid = ini.readString("Other", "pid", "3299", kIdLimit);

    s.size = ini.readInt("Custom", "size", 0, kFlagLimit);
    const int lwidth = ini.readInt("Custom", "lwidth", 2592, kIntLimit);
    const int lheight = ini.readInt("Custom", "lheight", 1944, kIntLimit);
    if (lwidth > 0) s.lwidth = lwidth;
    if (lheight > 0) s.lheight = lheight;

    if (s.size > 0) {
        s.h = ini.readInt("Custom", "h", 0, kIntLimit);
        s.w = ini.readInt("Custom", "w", 0, kIntLimit);
        if (s.size == 8) {
            s.top = ini.readInt("Custom", "top", 0, kIntLimit);
            s.bottom = ini.readInt("Custom", "bottom", 0, kIntLimit);
            s.left = ini.readInt("Custom", "left", 0, kIntLimit);
            s.right = ini.readInt("Custom", "right", 0, kIntLimit);
            s.presetInForce = true;
        }
    }
    ApplyState(ini.readInt("Custom", "state", 0, kFlagLimit), s.orientation);

    s.foramt = ini.readString("Custom", "foramt", ".jpg", kTextLimit);
    s.name = ini.readInt("Name", "name", 3, kFlagLimit);
    s.bookname = ini.readString("Name", "bookname", "book", kTextLimit);
    RefuseUnless(IsPlainExtension(s.foramt), "foramt", s.foramt, ".jpg");
    RefuseUnless(IsPlainBookName(s.bookname), "bookname", s.bookname, "book");
    s.fornew = ini.readInt("Name", "fornew", 0, kFlagLimit);
    s.threshold = ini.readInt("Auto", "threshold", 0, kFlagLimit);
    s.thresholdvalue = ini.readInt("Auto", "thresholdvalue", 128, kIntLimit);
    s.eraser = ini.readInt("Auto", "eraser", 0, kFlagLimit);
    s.eraservalue = ini.readInt("Auto", "eraservalue", 5, kIntLimit);
    s.addtime = ini.readInt("Auto", "addtime", 0, kFlagLimit);
    s.grayscale = ini.readInt("Auto", "grayscale", 0, kFlagLimit);
    s.incline = ini.readInt("Auto", "incline", 0, kFlagLimit);
    s.jpgquality = ini.readInt("Other", "jpgquality", 80, kIntLimit);
    s.intertime = ini.readInt("Other", "intertime", 4, kIntLimit);

    s.path = ini.readString("Other", "path", photoDirOf(programDir), kPathLimit);
    s.address = ini.readString("Other", "address", DefaultMailAddress(), kPathLimit);
}

void LoadConfig(const std::filesystem::path& iniPath, const std::filesystem::path& programDir,
                Settings& settings)
{
    IniFile ini(iniPath);
    ini.load();  // an unreadable file reads as an empty one: every key takes its default
    LoadConfig(ini, programDir, settings);
}

void SaveConfig(const Settings& s, IniFile& ini)
{
    ini.writeInt("Custom", "size", s.size);
    ini.writeInt("Custom", "state", StateFromOrientation(s.orientation));
    ini.writeString("Custom", "foramt", s.foramt);
    ini.writeInt("Custom", "top", s.top);
    ini.writeInt("Custom", "bottom", s.bottom);
    ini.writeInt("Custom", "left", s.left);
    ini.writeInt("Custom", "right", s.right);
    ini.writeInt("Custom", "h", s.h);
    ini.writeInt("Custom", "w", s.w);
    ini.writeInt("Custom", "lwidth", s.lwidth);
    ini.writeInt("Custom", "lheight", s.lheight);

    ini.writeInt("Name", "name", s.name);
    ini.writeString("Name", "bookname", s.bookname);
    ini.writeInt("Name", "fornew", s.fornew);

    ini.writeInt("Auto", "threshold", s.threshold);
    ini.writeInt("Auto", "thresholdvalue", s.thresholdvalue);
    ini.writeInt("Auto", "eraser", s.eraser);
    ini.writeInt("Auto", "eraservalue", s.eraservalue);
    ini.writeInt("Auto", "addtime", s.addtime);
    ini.writeInt("Auto", "grayscale", s.grayscale);
    ini.writeInt("Auto", "incline", s.incline);

    ini.writeInt("Other", "jpgquality", s.jpgquality);
    ini.writeInt("Other", "intertime", s.intertime);
    ini.writeString("Other", "path", s.path);
    ini.writeString("Other", "address", s.address);
}

bool SaveConfig(const Settings& settings, const std::filesystem::path& iniPath)
{
    IniFile ini(iniPath);
    // A file that exists but cannot be read is not overwritten: its other lines would be lost.
    if (!ini.load()) return false;
    SaveConfig(settings, ini);
    return ini.save();
}

void RestoreDefaultValues(Settings& s, const std::filesystem::path& programDir)
{
    const Settings d = DefaultSettings(programDir);
    s.path = d.path;
    s.thresholdvalue = d.thresholdvalue;
    s.eraservalue = d.eraservalue;
    s.threshold = d.threshold;
    s.eraser = d.eraser;
    s.jpgquality = d.jpgquality;
    s.addtime = d.addtime;
    s.grayscale = d.grayscale;
    s.name = d.name;
    s.bookname = d.bookname;
    s.fornew = d.fornew;
    s.intertime = d.intertime;
    s.foramt = d.foramt;
    s.size = 0;
    s.orientation = {};
    s.presetInForce = false;
}

}  // namespace vestrel
