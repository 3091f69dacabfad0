// The state dump file: a JSON object written at exit (--dump-state) that
// tests read to see where a run ended. The shell writes the screen's name
// and the frame count, then every contributor of base::g_stateDump.
#pragma once

#include <string>

#include "base/state_dump.h"

namespace tessaly::shell {

// Writes base::g_stateDump's object to a file (through a temporary name). False
// with the reason in `error` when the file cannot be written.
bool writeStateDump(const std::string& path, std::string& error);

}  // namespace tessaly::shell
