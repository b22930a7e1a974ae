#include "TestPages.h"

#include <opencv2/freetype.hpp>
#include <opencv2/imgproc.hpp>

#include <array>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace vestrel::bench {
namespace {

const cv::Scalar kPaper(222, 232, 238);  // slightly warm office paper, BGR
const cv::Scalar kInk(38, 34, 30);       // black toner

constexpr std::array<const char*, 24> kLatinWords{
    "document", "camera", "scan", "the", "of", "page", "light", "shadow", "invoice",
    "number", "2024", "total", "quality", "and", "paper", "text", "line", "Vestrel",
    "contract", "signature", "date:", "A4", "received", "payment"};

// Common characters of office documents.
const std::u32string kChineseText =
    U"文件扫描仪高拍仪图像处理系统自动纠偏去底色二值化合同发票金额日期签名盖章客户"
    U"服务中心北京上海广州深圳有限公司年月日第页共计人民币元整身份证号码地址电话";

std::string Utf8(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

struct Fonts {
    cv::Ptr<cv::freetype::FreeType2> latin;
    cv::Ptr<cv::freetype::FreeType2> chinese;
};

cv::Ptr<cv::freetype::FreeType2> LoadFont(const std::vector<std::string>& candidates)
{
    for (const std::string& path : candidates) {
        if (!std::filesystem::exists(path))
            continue;
        auto font = cv::freetype::createFreeType2();
        font->loadFontData(path, 0);
        return font;
    }
    return nullptr;
}

const Fonts& SharedFonts()
{
    static const Fonts fonts{
        LoadFont({"/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf",
                  "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"}),
        LoadFont({"/usr/share/fonts/truetype/arphic/uming.ttc"})};
    return fonts;
}

// Writes one line of text into the coverage picture; Hershey when no font file is there.
void DrawLine(cv::Mat& coverage, const std::string& text, bool chinese, cv::Point origin, int height)
{
    const Fonts& fonts = SharedFonts();
    const auto& font = chinese ? fonts.chinese : fonts.latin;
    if (font) {
        font->putText(coverage, text, origin, height, cv::Scalar::all(255), -1, cv::LINE_AA, true);
    } else if (!chinese) {
        cv::putText(coverage, text, origin, cv::FONT_HERSHEY_COMPLEX, height / 30.0, cv::Scalar::all(255),
                    std::max(1, height / 15), cv::LINE_AA);
    }
}

std::string RandomLatinLine(std::mt19937_64& random, int words)
{
    std::string line;
    for (int i = 0; i < words; ++i) {
        if (i)
            line += ' ';
        line += kLatinWords[random() % kLatinWords.size()];
    }
    return line;
}

std::string RandomChineseLine(std::mt19937_64& random, int characters)
{
    std::string line;
    for (int i = 0; i < characters; ++i) {
        if (i > 0 && random() % 9 == 0)
            line += Utf8(U'，');
        line += Utf8(kChineseText[random() % kChineseText.size()]);
    }
    return line;
}

// Ink coverage 0..255 of a straight page: a heading and lines of body text.
cv::Mat RenderCoverage(cv::Size size, const PageLook& look, std::mt19937_64& random)
{
    // FreeType draws only into BGR pictures: draw white on black, keep one channel.
    cv::Mat coverage(size, CV_8UC3, cv::Scalar::all(0));
    if (!look.text) {
        cv::extractChannel(coverage, coverage, 0);
        return coverage;
    }
    const int left = look.margin;
    const int top = look.margin * size.height / size.width + look.margin / 2;
    const int bottom = size.height - top;
    const int width = size.width - 2 * left;
    const int body = std::max(16, size.height / 56);
    const int pitch = body * 17 / 10;

    int y = top + body * 2;
    const bool chineseHeading = look.script == Script::Chinese;
    DrawLine(coverage, chineseHeading ? RandomChineseLine(random, 8) : RandomLatinLine(random, 3),
             chineseHeading, {left, y}, body * 2);
    y += pitch * 2;
    int line = 0;
    while (y < bottom) {
        if (random() % 7 == 0) {  // paragraph break
            y += pitch / 2;
        }
        const bool chinese = look.script == Script::Chinese ||
                             (look.script == Script::Mixed && line % 3 == 1);
        // Most lines run the full width; the last of a paragraph is shorter.
        const double fill = random() % 5 == 0 ? 0.35 + (random() % 40) / 100.0 : 0.97;
        const int wanted = static_cast<int>(width * fill);
        if (chinese) {
            DrawLine(coverage, RandomChineseLine(random, std::max(1, wanted / body)), true, {left, y}, body);
        } else {
            DrawLine(coverage, RandomLatinLine(random, std::max(1, wanted / (body * 4))), false, {left, y},
                     body);
        }
        y += pitch;
        ++line;
    }
    // Whatever ran past the text block's right edge is cut, as a page's margin would.
    coverage.colRange(size.width - left, size.width).setTo(cv::Scalar::all(0));
    cv::extractChannel(coverage, coverage, 0);
    return coverage;
}

cv::Mat Lighting(cv::Size size, const PageLook& look)
{
    cv::Mat light(size, CV_32FC1, cv::Scalar(1.0));
    if (look.lightFallOff) {
        for (int y = 0; y < size.height; ++y) {
            float* row = light.ptr<float>(y);
            const double v = static_cast<double>(y) / size.height;
            for (int x = 0; x < size.width; ++x) {
                const double u = static_cast<double>(x) / size.width;
                const double fromCorner = std::pow(0.6 * u + 0.4 * v, 1.3);
                const double du = u - 0.5;
                const double dv = v - 0.5;
                const double vignette = 1.0 - 0.5 * (du * du + dv * dv);
                row[x] = static_cast<float>((1.0 - 0.45 * fromCorner) * vignette);
            }
        }
    }
    if (look.armShadow) {
        cv::Mat shadow(size, CV_32FC1, cv::Scalar(0));
        const int w = size.width;
        const int h = size.height;
        const std::vector<cv::Point> arm{{w * 58 / 100, 0}, {w * 74 / 100, 0}, {w * 60 / 100, h * 65 / 100},
                                         {w * 47 / 100, h * 62 / 100}};
        cv::fillConvexPoly(shadow, arm, cv::Scalar(1.0), cv::LINE_AA);
        const double soft = size.width / 60.0;
        cv::GaussianBlur(shadow, shadow, cv::Size(), soft);
        light = light.mul(1.0 - 0.5 * shadow);
    }
    return light;
}

}  // namespace

const char* ScriptName(Script script)
{
    switch (script) {
    case Script::Latin:
        return "Latin";
    case Script::Chinese:
        return "Chinese";
    case Script::Mixed:
        return "mixed";
    }
    return "?";
}

cv::Mat Photograph(const cv::Mat& reflectance, const PageLook& look)
{
    cv::Mat lit;
    reflectance.convertTo(lit, CV_32FC3);
    const cv::Mat light = Lighting(reflectance.size(), look);
    cv::Mat light3;
    cv::merge(std::vector<cv::Mat>{light, light, light}, light3);
    lit = lit.mul(light3);
    if (look.blurSigma > 0)
        cv::GaussianBlur(lit, lit, cv::Size(), look.blurSigma);
    if (look.noiseSigma > 0) {
        cv::Mat noise(lit.size(), lit.type());
        cv::RNG rng(look.seed * 7919 + 17);
        rng.fill(noise, cv::RNG::NORMAL, cv::Scalar::all(0), cv::Scalar::all(look.noiseSigma));
        lit += noise;
    }
    cv::Mat picture;
    lit.convertTo(picture, CV_8UC3);
    return picture;
}

TestPage RenderPage(cv::Size size, const PageLook& look)
{
    std::mt19937_64 random(look.seed);
    cv::Mat coverage = RenderCoverage(size, look, random);
    if (look.skewDegrees != 0) {
        const cv::Point2f centre(size.width / 2.0f, size.height / 2.0f);
        cv::warpAffine(coverage, coverage, cv::getRotationMatrix2D(centre, look.skewDegrees, 1.0), size,
                       cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(0));
    }
    TestPage page;
    page.ink = coverage >= 128;

    cv::Mat alpha;
    coverage.convertTo(alpha, CV_32FC1, 1.0 / 255.0);
    cv::Mat alpha3;
    cv::merge(std::vector<cv::Mat>{alpha, alpha, alpha}, alpha3);
    cv::Mat paper(size, CV_32FC3, kPaper);
    cv::Mat ink(size, CV_32FC3, kInk);
    cv::Mat reflectance = paper + (ink - paper).mul(alpha3);
    cv::Mat reflectance8;
    reflectance.convertTo(reflectance8, CV_8UC3);
    page.picture = Photograph(reflectance8, look);
    return page;
}

cv::Mat RenderPhoto(cv::Size size, uint64_t seed)
{
    cv::RNG rng(seed);
    cv::Mat coarse(9, 12, CV_8UC3);
    rng.fill(coarse, cv::RNG::UNIFORM, cv::Scalar::all(20), cv::Scalar::all(235));
    cv::Mat photo;
    cv::resize(coarse, photo, size, 0, 0, cv::INTER_CUBIC);
    for (int i = 0; i < 12; ++i) {
        const cv::Point centre(rng.uniform(0, size.width), rng.uniform(0, size.height));
        const int radius = rng.uniform(size.height / 20, size.height / 5);
        const cv::Scalar colour(rng.uniform(0, 255), rng.uniform(0, 255), rng.uniform(0, 255));
        cv::circle(photo, centre, radius, colour, cv::FILLED, cv::LINE_AA);
    }
    PageLook look;
    look.lightFallOff = true;
    look.noiseSigma = 4;
    look.blurSigma = 1.5;
    look.seed = seed;
    return Photograph(photo, look);
}

}  // namespace vestrel::bench
