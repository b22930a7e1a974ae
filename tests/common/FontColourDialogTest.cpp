// The font chooser with a colour: it starts from the font and colour it is given and hands
// back both.

#include "FontColourDialog.h"
#include "QtTestApp.h"

#include <gtest/gtest.h>

namespace vestrel {
namespace {

TEST(FontColourDialog, StartsFromTheGivenFontAndColourAndGivesBothBack)
{
    testkit::TestApp();
    const FontChoice start{"DejaVu Sans", 27, 700, true, false, Colour{10, 20, 30}};
    FontColourDialog dialog(start);
    FontChoice shown = dialog.choice();
    EXPECT_EQ(shown.height, 27);
    EXPECT_EQ(shown.weight, 700);
    EXPECT_TRUE(shown.italic);
    EXPECT_EQ(shown.colour, (Colour{10, 20, 30}));
    EXPECT_FALSE(shown.faceName.empty());

    dialog.setColour({255, 0, 0});
    EXPECT_EQ(dialog.choice().colour, (Colour{255, 0, 0}));
    EXPECT_EQ(dialog.choice().height, 27);

    // A size chosen in the panel's points comes back in pixels.
    FontColourDialog larger(FontChoice{"DejaVu Sans", 16, 400, false, false, {}});
    EXPECT_EQ(larger.choice().height, 16);
}

}  // namespace
}  // namespace vestrel
