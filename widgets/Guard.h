#pragma once

#include <functional>

// Runs what one event of the program does. An error it raises ends it and is
// shown in the application's error box; nothing escapes into the event loop,
// and the program waits for the next action. beforeBox runs first when there
// is an error to show. Answers false when the action ended with an error.
bool runGuarded(const std::function<void()> &action, const std::function<void()> &beforeBox = {});
