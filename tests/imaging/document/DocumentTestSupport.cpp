#include "DocumentTestSupport.h"

namespace vestrel::document::test {

std::unique_ptr<CxImage> ColourPicture(int width, int height)
{
    auto image = std::make_unique<CxImage>(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixelColor(x, y, x < width / 2 ? MakeColorRef(220, 20, 20) : MakeColorRef(20, 20, 220));
    return image;
}

DocumentTest::DocumentTest()
{
    DocumentHooks hooks;
    hooks.liveShown = [this] { return live; };
    hooks.viewClientSize = [this] { return viewSize; };
    hooks.switchToStillView = [this] {
        live = false;
        ++stillViewSwitches;
    };
    hooks.repaintInfoPane = [this] { ++infoRepaints; };
    hooks.closeTextEntry = [this] { ++textBoxCloses; };
    doc = std::make_unique<CQuorvanDoc>(prompter, hooks);
    QObject::connect(doc.get(), &CQuorvanDoc::libraryChanged, [this] { ++libraryRebuilds; });
}

std::string DocumentTest::Photo(const std::string& name) const
{
    return (programDir / "Photo" / name).string();
}

std::string DocumentTest::WritePicture(const std::string& path) const
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    EXPECT_TRUE(ColourPicture()->Save(path, GetFileType(path))) << path;
    return path;
}

}  // namespace vestrel::document::test
