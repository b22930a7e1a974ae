#include "LibraryTestSupport.h"

#include <opencv2/imgcodecs.hpp>

#include <chrono>
#include <cstdlib>

namespace vestrel::library::test {
namespace fs = std::filesystem;

void WritePicture(const fs::path& file, int width, int height, const cv::Scalar& bgr)
{
    fs::create_directories(file.parent_path());
    const cv::Mat picture(height, width, CV_8UC3, bgr);
    ASSERT_TRUE(cv::imwrite(file.string(), picture)) << file;
}

void SetAge(const fs::path& file, int secondsAgo)
{
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
}

LibraryTest::LibraryTest()
{
    document::DocumentHooks docHooks;
    docHooks.liveShown = [this] { return live; };
    doc = std::make_unique<document::CQuorvanDoc>(prompter, docHooks);
    QObject::connect(doc.get(), &document::CQuorvanDoc::libraryChanged, [this] { ++rebuilds; });

    hooks.liveShown = [this] { return live; };
    hooks.confirmStopEBook = [this] {
        calls.push_back("confirmStopEBook");
        return eBookAnswer;
    };
    hooks.confirmEndIdCardCopy = [this] {
        calls.push_back("confirmEndIdCardCopy");
        return idCardAnswer;
    };
    hooks.leaveLiveView = [this] {
        calls.push_back("leaveLiveView");
        live = false;
    };
    hooks.showLoadedImage = [this] { calls.push_back("showLoadedImage"); };
    hooks.repaintImageView = [this] { calls.push_back("repaintImageView"); };
    hooks.activateImageView = [this] { calls.push_back("activateImageView"); };
    hooks.photoFolderChanged = [this](const std::string& folder) { calls.push_back("photoFolderChanged " + folder); };
    hooks.openWithDesktop = [this](const std::string& path) {
        desktopOpened.push_back(path);
        return desktopWorks;
    };
}

LibraryTest::~LibraryTest() = default;

void LibraryTest::WriteAgedPictures(const std::vector<std::string>& names)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        WritePicture(Photo(names[i]), 400, 300);
        SetAge(Photo(names[i]), int(10 * (names.size() - i)));
    }
}

fs::path LibraryTest::TrashFile(const std::string& name) const
{
    return home_.path() / ".local/share/Trash/files" / name;
}

}  // namespace vestrel::library::test
