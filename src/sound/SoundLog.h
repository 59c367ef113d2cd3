#pragma once
// Test seam: when TOLVANE_TEST_MCI_LOG names a file, every command sent to the
// sound devices (MCI commands, notifications received, click requests) is
// appended to it, one line each, so that tests can follow the loop, the volume
// and the click where the machine has no sound card. The characters handed to
// the editor control are logged there too.
#include <string>

namespace tv::soundlog {

bool enabled();
void line(const std::string& text);  // no-op when the seam is off
std::string hex(unsigned long long v, int digits = 8);

}  // namespace tv::soundlog
