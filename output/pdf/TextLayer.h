#pragma once
// An invisible text layer over an image on a PDF page: the words read from the picture,
// each placed where it stands in the picture so that a reader can find, select and copy
// it, while the page still shows only the picture.

#include <string>
#include <vector>

namespace vestrel::pdf {

struct TextLayerWord {
    std::string text;        // UTF-8
    double x = 0, y = 0;     // start of the baseline, in pixels of the picture, top-down
    double length = 0;       // along the baseline, pixels
    double height = 0;       // pixels
    double angleDegrees = 0; // of the baseline, counter-clockwise as seen
};

struct TextLayer {
    int imageWidth = 0;   // pixels of the picture the words were placed on
    int imageHeight = 0;
    std::vector<TextLayerWord> words;
};

}  // namespace vestrel::pdf
