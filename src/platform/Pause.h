#pragma once

// The fixed waits that let a user follow progress (splash passes, list loading, the popup's
// slide). Tests switch them off so that flows do not sleep.
namespace Pause {

void ms(int milliseconds);
// The same pause as a timer's interval for a step driven by the event loop: 0 while pauses are off.
int interval(int milliseconds);
void setEnabled(bool enabled);

} // namespace Pause
