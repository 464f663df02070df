#pragma once

// The fixed waits that let a user follow progress (splash passes, list loading, the popup's
// slide), as the intervals of steps driven by the event loop. Tests switch them off so that flows
// do not wait.
namespace Pause {

// The pause as a timer's interval: 0 while pauses are off.
int interval(int milliseconds);
void setEnabled(bool enabled);

} // namespace Pause
