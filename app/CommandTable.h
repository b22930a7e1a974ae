#pragma once
// The command table of the main window: every command id of the menus, tool bars, context
// menus and the tray menu, with its text, the subsystem that does its work, and one rule
// that says whether it is enabled and checked. The window asks the table before it shows a
// menu or a tool bar; tests ask it without a window.

#include "FrameState.h"

#include <span>
#include <string>

namespace vestrel {

struct CommandStatus {
    bool enabled = false;
    bool checked = false;
    bool operator==(const CommandStatus&) const = default;
};

using CommandRule = CommandStatus (*)(const FrameState&);

struct CommandInfo {
    int id;
    const char* text;   // the menu text, or the tool tip of a tool-bar-only button
    Feature owner;
    CommandRule rule;
    const char* iconTheme;  // freedesktop icon name, "" when none fits
    const char* iconFile;   // our own picture under res/icons/, "" when the theme one is enough
};

std::span<const CommandInfo> AllCommands();
// The entry of `id`, or nullptr for an id the window does not know.
const CommandInfo* FindCommand(int id);

// While an image operation runs, only these commands work: nothing may touch the picture,
// the history or the file until its result is in.
bool RunsWhileImageBusy(int id);

// The status of `id` in `state`: disabled when its subsystem is not built or the id is
// unknown, or while an image operation runs (RunsWhileImageBusy), otherwise what its rule
// says.
CommandStatus StatusOf(int id, const FrameState& state);

}  // namespace vestrel
