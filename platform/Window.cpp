// The message queue every window backend shares: posted messages first, then whatever the
// backend translates from its own events, one message per call.
#include "platform/Window.h"

namespace platform {

bool Window::peekMessage(Message& message) {
    if (next == queue.size()) {
        // All taken: the queue starts over in the room it has, which it then keeps.
        queue.clear();
        next = 0;
        // Translating lazily keeps the order of cause and effect: a close turns into a quit
        // message before the next system event is looked at.
        pumpEvents();
    }
    if (next == queue.size()) {
        return false;
    }
    message = queue[next++];
    return true;
}

void Window::postMessage(unsigned message, WParam wParam, LParam lParam) {
    queue.push_back(Message{message, wParam, lParam});
}

} // namespace platform
