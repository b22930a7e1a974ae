#include "GrabberSettings.h"

namespace vestrel {

GrabberSettings GrabberSettingsFrom(const Settings& s)
{
    GrabberSettings g;
    g.left = s.left;
    g.right = s.right;
    g.top = s.top;
    g.bottom = s.bottom;
    g.preset = s.presetInForce;
    g.w = s.w;
    g.h = s.h;
    g.orientation = s.orientation;
    return g;
}

}  // namespace vestrel
