#pragma once
// File names of stored scans: the six naming modes, their counters, the four-digit
// numbers, and the rule that a new scan never replaces a file already in the photo folder.

#include "ScanState.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace vestrel::scan {

enum NamingMode : int {
    kNameCustom = 1,      // typed in the file-name dialog; during book scanning name + number
    kNameTime = 2,        // YY-MM-DD-HH-MM-SS
    kNameSerial = 3,      // "Image" + serial counter
    kNameOdd = 4,         // bookname + odd counter
    kNameEven = 5,        // bookname + even counter
    kNameSequential = 6,  // bookname + the next of odd and even
};

// The mode config.ini holds, with anything outside 1..6 read as the default serial mode.
int EffectiveNamingMode(int storedMode);

// 1..999 padded with zeros to four digits; 0, negative numbers and 1000 or more as they are.
std::string PadNumber(int n);

// Local time as YY-MM-DD-HH-MM-SS.
std::string TimeName(const std::tm& localTime);

// Everything a generated name depends on besides the counters.
struct NamingInput {
    int mode = kNameSerial;
    std::string bookname;             // setting `bookname`
    bool bookScanning = false;        // timed scan in mode 1, or a continued e-book
    std::string timedBookName;
    std::tm localTime{};
};

// Builds the next name (without folder and extension) for modes 2..6 and for mode 1 during
// book scanning, advancing the counters as each mode does. Plain mode 1 needs the typed
// name and is not built here: the caller asks the file-name dialog.
std::string NextGeneratedName(const NamingInput& input, ScanCounters& counters);

// Whether the mode numbers its files (the collision rule then moves to the next number).
bool IsNumberedName(const NamingInput& input);

// Where a name of the photo folder is taken. `taken(name)` says whether photo folder + name
// + extension already exists; a taken name is never reused. Numbered names move on to the
// next number of their own counter, others get "_2", "_3", ... appended. Gives nothing if no
// free name turns up within a bounded number of tries.
std::optional<std::string> FreeName(std::string name, const NamingInput& input,
                                    ScanCounters& counters,
                                    const std::function<bool(const std::string&)>& taken);

// `taken` for a real folder: the file exists with this extension.
std::function<bool(const std::string&)> TakenInFolder(const std::filesystem::path& folder,
                                                      const std::string& extension);

}  // namespace vestrel::scan
