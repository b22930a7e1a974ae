#include "DeskScene.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace vestrel {
namespace {

constexpr double kPageAngle = 2.5;   // degrees the page is turned off square
constexpr double kCardAngle = -4.0;
constexpr double kPageHeightShare = 0.86;  // of the frame height
constexpr double kA4Ratio = 210.0 / 297.0;
constexpr double kCardWidthMm = 85.6, kCardHeightMm = 54.0, kPageHeightMm = 297.0;
// Noise rows are read at offsets up to this many bytes past the frame's length.
constexpr int kNoiseSlack = 64 * 1024;

const std::array<const char*, 24> kWords = {
    "the", "camera", "page", "scan", "document", "light", "paper", "archive",
    "report", "invoice", "number", "date", "total", "signed", "copy", "record",
    "office", "letter", "table", "line", "border", "quality", "sample", "text"};

cv::Point2f centreOf(cv::Size size, double x, double y)
{
    return {float(size.width * x), float(size.height * y)};
}

// Draws `content` onto `scene`, turned by `angle` degrees about `centre`.
void placeTurned(cv::Mat& scene, const cv::Mat& content, cv::Point2f centre, double angle)
{
    const cv::Point2f half(content.cols / 2.0f, content.rows / 2.0f);
    cv::Mat m = cv::getRotationMatrix2D(half, angle, 1.0);
    m.at<double>(0, 2) += centre.x - half.x;
    m.at<double>(1, 2) += centre.y - half.y;
    cv::warpAffine(content, scene, m, scene.size(), cv::INTER_LINEAR, cv::BORDER_TRANSPARENT);
}

cv::Mat drawPage(cv::Size size)
{
    cv::Mat page(size, CV_8UC3, cv::Scalar(236, 241, 243));
    const int margin = std::max(1, size.width / 12);
    const double lineStep = size.height / 38.0;
    const double scale = lineStep / 48.0;  // Hershey simplex letters are about 22 units high
    const int thickness = std::max(1, int(std::lround(lineStep / 14.0)));
    cv::putText(page, "QUARTERLY REPORT", {margin, int(margin + lineStep)}, cv::FONT_HERSHEY_DUPLEX,
                scale * 1.6, cv::Scalar(20, 20, 20), thickness + 1, cv::LINE_AA);
    std::uint32_t seed = 12345;
    const int right = size.width - margin;
    for (int line = 3; margin + line * lineStep < size.height - margin; ++line) {
        const int y = int(margin + line * lineStep);
        int x = margin;
        // Paragraphs end short now and then, as printed text does.
        const int end = (line % 7 == 6) ? margin + (right - margin) / 2 : right;
        while (true) {
            seed = seed * 1664525u + 1013904223u;
            const std::string word = kWords[(seed >> 16) % kWords.size()];
            int base = 0;
            const cv::Size ws = cv::getTextSize(word, cv::FONT_HERSHEY_SIMPLEX, scale, thickness, &base);
            if (x + ws.width > end) break;
            cv::putText(page, word, {x, y}, cv::FONT_HERSHEY_SIMPLEX, scale, cv::Scalar(30, 30, 30),
                        thickness, cv::LINE_AA);
            x += ws.width + std::max(2, ws.height / 2);
        }
    }
    return page;
}

cv::Mat drawCard(cv::Size size)
{
    cv::Mat card(size, CV_8UC3, cv::Scalar(226, 214, 176));
    const int pad = std::max(1, size.height / 12);
    const cv::Rect photo(size.width - pad - size.width * 3 / 10, pad, size.width * 3 / 10,
                         size.height - 2 * pad);
    cv::rectangle(card, photo, cv::Scalar(150, 150, 160), cv::FILLED);
    cv::circle(card, {photo.x + photo.width / 2, photo.y + photo.height / 3},
               std::max(1, photo.width / 4), cv::Scalar(110, 120, 140), cv::FILLED, cv::LINE_AA);
    const int thickness = std::max(1, size.height / 150);
    const char* lines[] = {"NAME  ZHANG WEI", "SEX  M   BORN 1990", "ADDRESS  12 LAKE ROAD",
                           "ID  110101199001011234"};
    // The longest line fills the room left of the photo.
    int base = 0;
    const int widest = cv::getTextSize(lines[3], cv::FONT_HERSHEY_SIMPLEX, 1.0, thickness, &base).width;
    const double scale = double(std::max(1, photo.x - 2 * pad)) / std::max(1, widest);
    for (int i = 0; i < 4; ++i)
        cv::putText(card, lines[i], {pad, pad + (i + 1) * (size.height - 2 * pad) / 5},
                    cv::FONT_HERSHEY_SIMPLEX, scale, cv::Scalar(40, 40, 40), thickness, cv::LINE_AA);
    return card;
}

}  // namespace

DeskSceneLayout DeskLayout(cv::Size size)
{
    const float pageH = float(size.height * kPageHeightShare);
    const float pageW = float(pageH * kA4Ratio);
    const float cardW = float(pageH * kCardWidthMm / kPageHeightMm);
    const float cardH = float(pageH * kCardHeightMm / kPageHeightMm);
    return {cv::RotatedRect(centreOf(size, 0.42, 0.5), {pageW, pageH}, float(-kPageAngle)),
            cv::RotatedRect(centreOf(size, 0.83, 0.3), {cardW, cardH}, float(-kCardAngle))};
}

cv::Mat DrawDeskScene(cv::Size size)
{
    cv::Mat scene(size, CV_8UC3);
    // A wooden desk: a soft gradient with faint grain running across.
    for (int y = 0; y < size.height; ++y) {
        const double t = double(y) / std::max(1, size.height - 1);
        const double grain = 6.0 * std::sin(y * 0.09) + 3.0 * std::sin(y * 0.023);
        scene.row(y).setTo(cv::Scalar(62 + 14 * t + grain, 84 + 16 * t + grain, 112 + 18 * t + grain));
    }
    const DeskSceneLayout layout = DeskLayout(size);
    const cv::Size pageSize(std::max(1, int(layout.page.size.width)), std::max(1, int(layout.page.size.height)));
    const cv::Size cardSize(std::max(1, int(layout.card.size.width)), std::max(1, int(layout.card.size.height)));
    placeTurned(scene, drawPage(pageSize), layout.page.center, kPageAngle);
    placeTurned(scene, drawCard(cardSize), layout.card.center, kCardAngle);
    // Leave room for the noise so that it never saturates into flat white.
    cv::min(scene, cv::Scalar::all(255 - SensorNoise::kNoiseSpan), scene);
    return scene;
}

void SensorNoise::add(const cv::Mat& scene, cv::Mat& out)
{
    const int length = int(scene.total() * scene.elemSize());
    if (noise_.cols < length + kNoiseSlack) {
        noise_.create(1, length + kNoiseSlack, CV_8UC1);
        cv::RNG rng(0x5eed);
        rng.fill(noise_, cv::RNG::UNIFORM, 0, kNoiseSpan + 1);
    }
    // A different offset each frame moves the pattern, so no two frames are alike.
    ++frame_;
    const int offset = int((frame_ * 7919u) % std::uint64_t(kNoiseSlack));
    const cv::Mat flatScene = scene.reshape(1, 1);
    out.create(scene.size(), scene.type());
    cv::Mat flatOut = out.reshape(1, 1);
    cv::add(flatScene, noise_.colRange(offset, offset + length), flatOut);
}

}  // namespace vestrel
