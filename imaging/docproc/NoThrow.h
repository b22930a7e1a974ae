#pragma once
// The one guard of docproc's public routines: OpenCV reports failures (and the allocator
// a lack of memory) by throwing, and no exception may leave this library.

#include <exception>

namespace vestrel::docproc::detail {

// What `work()` returns, or `failed` when it throws (cv::Exception is a std::exception).
template <class Result, class Work>
Result NoThrow(Result failed, Work&& work)
{
    try {
        return work();
    } catch (const std::exception&) {
        return failed;
    }
}

}  // namespace vestrel::docproc::detail
