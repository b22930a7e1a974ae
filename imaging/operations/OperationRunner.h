#pragma once
// Runs one image operation at a time on a worker thread, so that a long one (deskew,
// background removal, a turn of a camera page) leaves the window free to repaint. The
// worker changes a copy of the picture; the window's thread takes the result when it asks
// for it. While one runs, the caller refuses everything that would touch the picture.

#include "CxImage.h"

#include <functional>
#include <future>
#include <memory>

namespace vestrel::operations {

class OperationRunner {
public:
    // The work changes the picture it is given and says whether it changed anything.
    using Work = std::function<bool(CxImage&)>;

    ~OperationRunner();

    // Starts `work` on a copy of `picture`; false when one runs already or there is no
    // memory or thread for it.
    bool Start(const CxImage& picture, Work work);
    bool Busy() const { return m_result.valid(); }
    // The finished picture once the work is done: null while it runs, when it changed
    // nothing, or when it failed. `finished` tells whether the run ended with this call.
    std::unique_ptr<CxImage> Take(bool& finished);
    // Waits for the run and takes its picture as Take does.
    std::unique_ptr<CxImage> Wait();

private:
    std::future<std::unique_ptr<CxImage>> m_result;
};

}  // namespace vestrel::operations
