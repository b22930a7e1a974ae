#pragma once
// Test pages with ground truth for the document-processing measurements: lines of Latin
// and Chinese text rendered with real fonts, then photographed the way the document
// camera does it (uneven light, the arm's shadow, blur, sensor noise, a known skew).

#include <opencv2/core.hpp>

#include <cstdint>
#include <string>

namespace vestrel::bench {

enum class Script { Latin, Chinese, Mixed };

struct PageLook {
    Script script = Script::Mixed;
    double skewDegrees = 0;   // counter-clockwise, as seen on screen
    bool lightFallOff = false;  // light falling off from one corner, plus vignetting
    bool armShadow = false;   // soft shadow of the camera arm across the page
    double blurSigma = 0.6;   // optics, in pixels
    double noiseSigma = 2.0;  // sensor noise, grey levels
    int margin = 150;         // blank border around the text block, pixels
    bool text = true;         // false: a blank sheet
    uint64_t seed = 1;
};

struct TestPage {
    cv::Mat picture;  // 8-bit BGR, what the camera delivers
    cv::Mat ink;      // 8-bit, 255 where ink is (ground truth), 0 on paper
};

TestPage RenderPage(cv::Size size, const PageLook& look);

// A picture without text: smooth colour areas and a few shapes, like a photograph.
cv::Mat RenderPhoto(cv::Size size, uint64_t seed);

// Picture of a page under the camera's light: `reflectance` (8-bit BGR, paper and ink as
// printed) lit, blurred and noised as `look` says.
cv::Mat Photograph(const cv::Mat& reflectance, const PageLook& look);

const char* ScriptName(Script script);

}  // namespace vestrel::bench
