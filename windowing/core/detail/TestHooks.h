#pragma once

// What tests reach inside the core room and programs have no use for: the size of its
// queues, the posted message in delivery, and resets of its process-wide state between tests.

#include <cstdint>

#include "windowing/Win32Types.h"

namespace platform {
class NSCursor;
}

namespace swell {

// The number of timer records.
int timerCount();
// Stops every timer.
void killAllTimersForTesting();

// The number of queued records, messages and timer requests.
int queuedMessageCount();

// The posted message being handed to its window procedure on this thread, so that a
// test's procedure can tell posted messages from sent ones; null outside a delivery.
// The sequence number grows with each delivery.
struct PostedDelivery {
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::uint64_t sequence = 0;
};
const PostedDelivery* postedMessageInDelivery();

// Clears the flag SWELL_PostQuitMessage sets.
void resetQuittingForTesting();
// Forgets every registered format and pending or returned block.
void resetClipboardForTesting();
// Whether a promised file is being dragged out.
bool hasDragOutState();
// Sets a platform cursor as SWELL_SetCursor sets a cursor handle (null: the arrow).
void setCursor(platform::NSCursor* cursor);

}  // namespace swell
