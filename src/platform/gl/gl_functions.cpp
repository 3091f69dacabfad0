#include "platform/gl/gl_functions.h"

namespace tessaly::platform::gl {

bool loadFunctions(Functions& gl, void* (*getProc)(const char*), const char** missing) {
#define TESSALY_GL_LOAD(type, name)                               \
    gl.name = reinterpret_cast<type>(getProc("gl" #name));        \
    if (!gl.name) {                                               \
        if (missing) *missing = "gl" #name;                       \
        return false;                                             \
    }
    TESSALY_GL_FUNCTIONS(TESSALY_GL_LOAD)
#undef TESSALY_GL_LOAD
    return true;
}

}  // namespace tessaly::platform::gl
