#pragma once
// One QApplication for every test of the executable (offscreen), and a main window on the
// virtual camera in a fresh program folder.

#include "CMainFrame.h"
#include "CameraLink.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include "QtTestApp.h"

#include <filesystem>
#include <memory>
#include <string>

namespace vestrel::testkit {

class MainFrameTest : public ProgramDirTest {
protected:
    void SetUp() override { TestApp(); }
    void TearDown() override { frame.reset(); }

    // A window without a camera, or with the virtual one running.
    CMainFrame& make(bool withCamera)
    {
        std::unique_ptr<LiveCamera> camera;
        if (withCamera) {
            CaptureOptions options;
            options.cameraSpec = "virtual";
            options.watchDeviceRemoval = false;
            auto link = std::make_unique<CameraLink>(prompter, options);
            EXPECT_TRUE(link->open());
            camera = std::move(link);
        }
        frame = std::make_unique<CMainFrame>(prompter, std::move(camera));
        if (withCamera) {
            EXPECT_TRUE(frame->startCamera());
        }
        frame->LoadConfig();
        frame->resize(1200, 800);
        frame->show();
        QCoreApplication::processEvents();
        return *frame;
    }

    // A window on the virtual camera whose first frame has arrived, ready to scan.
    CMainFrame& makeScanning()
    {
        CMainFrame& f = make(true);
        EXPECT_TRUE(WaitFor([&] {
            cv::Mat newest;
            return f.camera()->copyNewestFrame(newest);
        }));
        return f;
    }

    std::filesystem::path photo(const std::string& name) const { return programDir.path() / "Photo" / name; }

    ScriptedPrompter prompter;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace vestrel::testkit
