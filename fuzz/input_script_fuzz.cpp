// The input script: parsed whole.
#include <string>

#include "shell/input_script.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    shell::InputScript script;
    std::string error;
    (void)shell::parseInputScript(std::string_view(reinterpret_cast<const char*>(data), size), script, error);
    return 0;
}
