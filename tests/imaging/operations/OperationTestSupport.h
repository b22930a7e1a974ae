#pragma once
// A document with a picture on which every operation of the menus changes something, and
// the commands over it.

#include "DocumentTestSupport.h"
#include "ImageCommands.h"

#include <memory>
#include <vector>

namespace vestrel::operations::test {

// Gradients, shapes, a saturated red patch (red eyes) and a little noise, 24 bits.
std::unique_ptr<CxImage> TestPicture(int width = 64, int height = 48);
// A printed page: dark lines of "text" on light paper, turned by `degrees`.
std::unique_ptr<CxImage> PagePicture(int width, int height, double degrees);

class OperationTest : public document::test::DocumentTest {
protected:
    OperationTest();
    // Every byte of the document's picture.
    std::vector<std::uint8_t> Shown() const { return doc->Image()->Dump(); }

    int busyChanges = 0;
    std::pair<float, float> handle{-1, -1};
    int scrollResets = 0;
    std::unique_ptr<ImageCommands> commands;
};

}  // namespace vestrel::operations::test
