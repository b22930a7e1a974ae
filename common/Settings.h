#pragma once
// The persistent scan settings, one field per config.ini key under the key's own name,
// and the reading and writing of config.ini. Loading only fills values: the owner of the
// camera, the size list and the window applies them after LoadConfig returns (switch the
// camera to lwidth x lheight, select entry `size` with the stored scan area, re-lay the
// video window for the orientation).

#include "IniFile.h"

#include <filesystem>
#include <string>

namespace vestrel {

// At most one flag is set; none set is the normal orientation.
struct Orientation {
    bool upsideDown = false;   // config state 1
    bool rotateLeft = false;   // config state 2
    bool rotateRight = false;  // config state 3
    bool operator==(const Orientation&) const = default;
};

// The number config.ini stores for the flags: 0 for none set and for any combination of
// several, which the program never makes itself.
int StateFromOrientation(const Orientation& o);
// Applies a stored state: 0 to 3 set exactly that flag; any other value leaves `o` alone.
void ApplyState(int state, Orientation& o);

struct Settings {
    // [Other]
    std::string vid = "18ec";   // USB vendor id of the second camera, read but never written
    std::string pid = "3299";   // USB product id of the second camera, read but never written
    int jpgquality = 80;        // JPEG quality of stored scans, 0..100
    int intertime = 4;          // timed-scan interval in milliseconds
    std::string path;           // photo folder, ends with '/'
    std::string address;        // web-mail address opened by the mail link
    // [Custom]
    int size = 0;               // selected entry of the image-size list
    int lwidth = 2592;          // capture frame width
    int lheight = 1944;         // capture frame height
    int h = 0;                  // scan-area height
    int w = 0;                  // scan-area width
    int top = 0;                // preset rectangle; top and bottom count rows from the
    int bottom = 0;             //   bottom of the frame, as config.ini has always kept them
    int left = 0;
    int right = 0;
    Orientation orientation;    // stored as `state`
    bool presetInForce = false; // the user-drawn rectangle of entry 8 is the scan area
    std::string foramt = ".jpg";  // extension of stored scans, with its dot (the key is spelt so)
    // [Name]
    int name = 3;               // naming mode 1..6
    std::string bookname = "book";
    int fornew = 0;             // 1: odd/even numbering restarts with each timed scan
    // [Auto]
    int threshold = 0;          // binarise each scan
    int thresholdvalue = 128;
    int eraser = 0;             // remove the background of each scan
    int eraservalue = 5;
    int addtime = 0;            // stamp date and time on each scan
    int grayscale = 0;          // convert each scan to grey
    int incline = 0;            // deskew each scan

    bool operator==(const Settings&) const = default;
};

// The values a fresh installation starts with; the photo folder is programDir/Photo/.
Settings DefaultSettings(const std::filesystem::path& programDir);
std::string DefaultMailAddress();

// Reads config.ini into `settings`, key by key, each with its read limit; absent keys give
// the defaults of a fresh installation, except where a key is only taken under a condition
// (lwidth/lheight above 0, h/w with a size above 0, the rectangle with the preset entry, a
// state of 0..3), where the value already in `settings` stays.
void LoadConfig(const IniFile& ini, const std::filesystem::path& programDir, Settings& settings);
void LoadConfig(const std::filesystem::path& iniPath, const std::filesystem::path& programDir,
                Settings& settings);

// Writes every key but vid and pid, keeping the rest of the file.
void SaveConfig(const Settings& settings, IniFile& ini);
bool SaveConfig(const Settings& settings, const std::filesystem::path& iniPath);

// The values "恢复默认" puts back (the camera switch, the size and orientation commands
// and the library refresh that follow are the main window's).
void RestoreDefaultValues(Settings& settings, const std::filesystem::path& programDir);

}  // namespace vestrel
