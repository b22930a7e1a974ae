#include "ConverterFixture.h"

#include "ChildProcess.h"
#include "ScratchFiles.h"

#include <netinet/in.h>
#include <semaphore.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace vestrel::doctiff::testing {

void ConverterTest::SetUp() {
    if (const char* old = std::getenv("TOLVY_ROOT")) {
        hadRoot_ = true;
        previousRoot_ = old;
    }
    ::setenv("TOLVY_ROOT", programDir.path().c_str(), 1);
}

void ConverterTest::TearDown() {
    // Each test folder has a printer semaphore of its own; it ends with the folder.
    ::sem_unlink(scratch::SemaphoreName().c_str());
    if (hadRoot_) ::setenv("TOLVY_ROOT", previousRoot_.c_str(), 1);
    else ::unsetenv("TOLVY_ROOT");
}

ConverterOptions ConverterTest::Options() const {
    ConverterOptions options;
    options.printerProgram = VESTREL_FAXPRINTER;
    options.html.serviceProgram = VESTREL_HTMLPRINTD;
    options.html.port = FreeLoopbackPort();
    options.html.retryPause = std::chrono::milliseconds(100);
    options.connectHtmlAtInit = false;
    return options;
}

std::string ConverterTest::WriteJpg(const std::string& name, int width, int height) const {
    cv::Mat picture(height, width, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::circle(picture, {width / 2, height / 2}, std::min(width, height) / 3, cv::Scalar(0, 0, 0), 8);
    cv::putText(picture, "JPG", {width / 4, height / 2}, cv::FONT_HERSHEY_SIMPLEX, 2, cv::Scalar(0, 0, 0), 4);
    EXPECT_TRUE(cv::imwrite(Path(name), picture));
    return Path(name);
}

std::string ConverterTest::WriteLandscapeTiff(const std::string& name) const {
    // 600 x 300 at 100 dpi: 6 in wide, 3 in high; a black block marks the top-left corner.
    cv::Mat page(300, 600, CV_8UC1, cv::Scalar(255));
    cv::rectangle(page, cv::Rect(0, 0, 150, 75), cv::Scalar(0), cv::FILLED);
    EXPECT_TRUE(cv::imwrite(Path(name), page,
                            {cv::IMWRITE_TIFF_RESUNIT, 2, cv::IMWRITE_TIFF_XDPI, 100, cv::IMWRITE_TIFF_YDPI, 100}));
    return Path(name);
}

std::string ConverterTest::WriteText(const std::string& name, const std::string& text) const {
    return programDir.writeFile(name, text).string();
}

std::string ConverterTest::WriteDoc(const std::string& name, const std::string& text) const {
    const std::string txt = WriteText(name + ".txt", text);
    const std::string outdir = Path("docmaker");
    const std::string profile = "-env:UserInstallation=file://" + Path("docmaker-profile");
    std::string error;
    RunProgram({"soffice", "--headless", "--norestore", profile, "--convert-to", "doc", "--outdir",
                outdir, txt},
               std::chrono::seconds(120), error);
    const std::filesystem::path made = std::filesystem::path(outdir) / (name + ".doc");
    EXPECT_TRUE(std::filesystem::exists(made)) << error;
    std::filesystem::rename(made, Path(name));
    return Path(name);
}

std::string ConverterTest::WriteScript(const std::string& name, const std::string& body) const {
    const auto path = programDir.writeFile(name, "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
    return path.string();
}

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace vestrel::doctiff::testing
