#pragma once
// Reading a fax page back with Tesseract, and the character error rate against the text
// that was printed.

#include <opencv2/core.hpp>

#include <string>

namespace vestrel::doctiff::bench {

// Text recognised on a 0/255 page; `language` as Tesseract names it ("eng", "chi_sim").
std::string Recognise(const cv::Mat& page, const std::string& language);
// Edit distance between the two texts, in code points with all white space removed,
// divided by the length of `reference`.
double CharacterErrorRate(const std::string& reference, const std::string& recognised);

}  // namespace vestrel::doctiff::bench
