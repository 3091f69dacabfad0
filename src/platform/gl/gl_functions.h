// The OpenGL 3.3 core entry points the device uses, loaded through SDL once a
// context exists. Loading through the context (rather than linking the
// symbols) works the same under GLX, EGL and the offscreen driver.
// Only src/platform/gl includes this.
#pragma once

#include <GL/glcorearb.h>

namespace tessaly::platform::gl {

#define TESSALY_GL_FUNCTIONS(X)                                        \
    X(PFNGLGETERRORPROC, GetError)                                     \
    X(PFNGLGETSTRINGPROC, GetString)                                   \
    X(PFNGLGETINTEGERVPROC, GetIntegerv)                               \
    X(PFNGLENABLEPROC, Enable)                                         \
    X(PFNGLDISABLEPROC, Disable)                                       \
    X(PFNGLBLENDFUNCPROC, BlendFunc)                                   \
    X(PFNGLDEPTHFUNCPROC, DepthFunc)                                   \
    X(PFNGLDEPTHMASKPROC, DepthMask)                                   \
    X(PFNGLCOLORMASKPROC, ColorMask)                                   \
    X(PFNGLCULLFACEPROC, CullFace)                                     \
    X(PFNGLFRONTFACEPROC, FrontFace)                                   \
    X(PFNGLVIEWPORTPROC, Viewport)                                     \
    X(PFNGLSCISSORPROC, Scissor)                                       \
    X(PFNGLCLEARCOLORPROC, ClearColor)                                 \
    X(PFNGLCLEARDEPTHPROC, ClearDepth)                                 \
    X(PFNGLCLEARSTENCILPROC, ClearStencil)                             \
    X(PFNGLCLEARPROC, Clear)                                           \
    X(PFNGLPIXELSTOREIPROC, PixelStorei)                               \
    X(PFNGLREADPIXELSPROC, ReadPixels)                                 \
    X(PFNGLFINISHPROC, Finish)                                         \
    X(PFNGLGENTEXTURESPROC, GenTextures)                               \
    X(PFNGLDELETETEXTURESPROC, DeleteTextures)                         \
    X(PFNGLBINDTEXTUREPROC, BindTexture)                               \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                           \
    X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                 \
    X(PFNGLTEXSUBIMAGE2DPROC, TexSubImage2D)                           \
    X(PFNGLTEXPARAMETERIPROC, TexParameteri)                           \
    X(PFNGLGENSAMPLERSPROC, GenSamplers)                               \
    X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                         \
    X(PFNGLBINDSAMPLERPROC, BindSampler)                               \
    X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)                   \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                                 \
    X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                           \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                                 \
    X(PFNGLBUFFERDATAPROC, BufferData)                                 \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                       \
    X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                 \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                       \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)       \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)               \
    X(PFNGLCREATESHADERPROC, CreateShader)                             \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                             \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                           \
    X(PFNGLGETSHADERIVPROC, GetShaderiv)                               \
    X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                     \
    X(PFNGLDELETESHADERPROC, DeleteShader)                             \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                           \
    X(PFNGLATTACHSHADERPROC, AttachShader)                             \
    X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                 \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                               \
    X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                             \
    X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                   \
    X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                           \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                                 \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                 \
    X(PFNGLUNIFORM1IPROC, Uniform1i)                                   \
    X(PFNGLUNIFORM1FPROC, Uniform1f)                                   \
    X(PFNGLUNIFORM3FPROC, Uniform3f)                                   \
    X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                     \
    X(PFNGLDRAWARRAYSPROC, DrawArrays)                                 \
    X(PFNGLDRAWELEMENTSPROC, DrawElements)                             \
    X(PFNGLDRAWELEMENTSBASEVERTEXPROC, DrawElementsBaseVertex)         \
    X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                       \
    X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                 \
    X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                       \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)             \
    X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)       \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)         \
    X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                     \
    X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)               \
    X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                     \
    X(PFNGLRENDERBUFFERSTORAGEPROC, RenderbufferStorage)

struct Functions {
#define TESSALY_GL_DECLARE(type, name) type name = nullptr;
    TESSALY_GL_FUNCTIONS(TESSALY_GL_DECLARE)
#undef TESSALY_GL_DECLARE
};

// Loads every entry point with getProc (SDL_GL_GetProcAddress). False, with
// the first missing name in *missing, when one is absent.
bool loadFunctions(Functions& gl, void* (*getProc)(const char*), const char** missing);

}  // namespace tessaly::platform::gl
