#pragma once
// A stand-in for the main window in the scan-settings tests: writes down every preview
// request the settings make of it, in order.

#include "ScanSettingsForm.h"

#include <string>
#include <vector>

namespace vestrel::scan::test {

class RecordingPreviewTarget final : public SettingsPreviewTarget {
public:
    std::vector<std::string> calls;
    void takeSnapshot() override { calls.push_back("snapshot"); }
    void endPreview() override { calls.push_back("end"); }
    void selectSize(int i) override { calls.push_back("size " + std::to_string(i)); }
    void selectOrientation(int i) override { calls.push_back("orientation " + std::to_string(i)); }
    void previewProcessing(int t, int s) override
    {
        calls.push_back("process " + std::to_string(t) + " " + std::to_string(s));
    }
};

}  // namespace vestrel::scan::test
