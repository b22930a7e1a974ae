#include "OcrTestPages.h"

#include <cctype>

namespace vestrel::testkit {

CxImage TextPicture(int width, int height, const std::vector<std::string>& lines, int x, int y,
                    int pixelSize)
{
    CxImage picture(width, height, 24);
    picture.Clear(255);
    for (std::size_t i = 0; i < lines.size(); ++i)
        picture.DrawString(x, y + int(i) * pixelSize * 3 / 2, lines[i], MakeRgbQuad(0, 0, 0),
                           "Liberation Sans", pixelSize);
    return picture;
}

std::string Letters(const std::string& text)
{
    std::string letters;
    for (unsigned char c : text)
        if (std::isalnum(c)) letters += char(std::tolower(c));
    return letters;
}

void InstallShippedData(const std::filesystem::path& programDir)
{
    const std::filesystem::path source = VESTREL_OCR_DATA_DIR;
    std::filesystem::create_directories(programDir / "temp");
    std::filesystem::copy_file(source / "Doc.fodt", programDir / "Doc.fodt",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(source / "gssmy.jpg", programDir / "temp" / "gssmy.jpg",
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace vestrel::testkit
