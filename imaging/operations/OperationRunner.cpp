#include "OperationRunner.h"

#include <chrono>
#include <exception>

namespace vestrel::operations {

OperationRunner::~OperationRunner()
{
    if (m_result.valid()) m_result.wait();
}

bool OperationRunner::Start(const CxImage& picture, Work work)
{
    if (Busy()) return false;
    auto copy = std::make_unique<CxImage>();
    if (!copy->Copy(picture)) return false;
    try {
        m_result = std::async(std::launch::async,
                              [copy = std::move(copy), work = std::move(work)]() mutable -> std::unique_ptr<CxImage> {
                                  try {
                                      if (work(*copy)) return std::move(copy);
                                  } catch (const std::exception&) {
                                      // Out of memory inside the work: the picture stays as it was.
                                  }
                                  return nullptr;
                              });
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::unique_ptr<CxImage> OperationRunner::Take(bool& finished)
{
    finished = false;
    if (!Busy() || m_result.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return nullptr;
    finished = true;
    return m_result.get();
}

std::unique_ptr<CxImage> OperationRunner::Wait()
{
    if (!Busy()) return nullptr;
    return m_result.get();
}

}  // namespace vestrel::operations
