#include "DeferredPrompter.h"

#include <utility>

namespace vestrel::output {

void DeferredPrompter::replayTo(Prompter& target)
{
    // Taken first: a message box runs an event loop, and nothing may be shown twice if it re-enters.
    std::vector<Message> pending = std::exchange(messages_, {});
    for (const Message& message : pending)
        target.message(message.text, message.caption, message.kind);
}

}  // namespace vestrel::output
