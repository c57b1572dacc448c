// Typing the capture key.
#pragma once

namespace capture {

// Types the capture key Ctrl+D into the system input stream, where keyboard
// hooks see it as if typed. It does not wait for the capture.
void SendCaptureKey();

} // namespace capture
