#pragma once
// What the record dialog ("录制时间") gives: the format and size chosen in the camera's
// capability list, and whether the recording is timed.

#include <string>

namespace vestrel {

struct RecordSettings {
    std::string formatName = "RGB24";  // collected, not applied: frames arrive as BGR anyway
    int width = 640;                   // used when recording again
    int height = 480;
    bool sound = false;                // always off: there is no sound to record
    bool timed = false;                // radio 1006, else open-ended (1005)
    double minutes = 0;                // the minutes field of a timed recording
};

}  // namespace vestrel
