#include "shell/state_dump.h"

#include "base/files.h"
#include "base/frame_clock.h"
#include "shell/screen.h"

namespace tessaly::shell {

bool writeStateDump(const std::string& path, std::string& error) {
    const Screen* screen = currentScreen();
    const std::string text = base::g_stateDump.render(screen ? screen->name() : "", int64_t(base::g_frame.frameNumber));
    return base::writeFileAtomic(path, text.data(), text.size(), &error);
}

}  // namespace tessaly::shell
