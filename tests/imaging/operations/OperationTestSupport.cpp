#include "OperationTestSupport.h"

#include <opencv2/imgproc.hpp>

namespace vestrel::operations::test {

std::unique_ptr<CxImage> TestPicture(int width, int height)
{
    cv::Mat pixels(height, width, CV_8UC3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.at<cv::Vec3b>(y, x) = cv::Vec3b(uchar(40 + x * 3), uchar(60 + y * 2), uchar(90 + (x + y) % 50));
    cv::rectangle(pixels, cv::Rect(width / 4, height / 4, width / 4, height / 3), cv::Scalar(20, 30, 230), cv::FILLED);
    cv::circle(pixels, cv::Point(3 * width / 4, height / 2), height / 6, cv::Scalar(240, 240, 250), cv::FILLED);
    cv::Mat noise(pixels.size(), CV_8UC3);
    cv::RNG rng(std::uint64_t(width) * 7919 + std::uint64_t(height));  // the same picture every time
    rng.fill(noise, cv::RNG::UNIFORM, 0, 8);
    pixels += noise;
    auto image = std::make_unique<CxImage>();
    image->CreateFromMat(pixels);
    return image;
}

std::unique_ptr<CxImage> PagePicture(int width, int height, double degrees)
{
    cv::Mat page(height, width, CV_8UC3, cv::Scalar(225, 228, 230));
    for (int y = height / 8; y < height * 7 / 8; y += 18)
        for (int x = width / 10; x < width * 9 / 10; x += 14)
            cv::rectangle(page, cv::Rect(x, y, 10, 9), cv::Scalar(30, 30, 35), cv::FILLED);
    const cv::Mat turn = cv::getRotationMatrix2D(cv::Point2f(width / 2.0f, height / 2.0f), degrees, 1.0);
    cv::Mat turned;
    cv::warpAffine(page, turned, turn, page.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    auto image = std::make_unique<CxImage>();
    image->CreateFromMat(turned);
    return image;
}

OperationTest::OperationTest()
{
    CommandHooks hooks;
    hooks.busyChanged = [this](bool) { ++busyChanges; };
    hooks.placeRotationHandle = [this](float x, float y) { handle = {x, y}; };
    hooks.viewClientSize = [this] { return viewSize; };
    hooks.resetScroll = [this] { ++scrollResets; };
    commands = std::make_unique<ImageCommands>(*doc, prompter, hooks);
}

}  // namespace vestrel::operations::test
