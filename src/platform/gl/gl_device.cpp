// Sections: shaders | creation | state | textures | drawing and batching |
// present and read-back.
#include "platform/gl/gl_device.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/assert.h"
#include "platform/letterbox.h"

namespace tessaly::platform {

// ---------------------------------------------------------------------------
// Shaders

namespace {

// Matrices are the drawing code's row-major matrices for row vectors,
// uploaded untransposed: read column-major they are their own transposes, so
// `M * v` here is `v * M` there. Depth comes out 0..w and is moved to GL's
// -w..w.
const char* const kDrawVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec3 aNormal;
layout(location = 3) in vec2 aUv;
uniform mat4 uWorldViewProj;
uniform mat4 uWorldView;
uniform mat4 uTexMatrix;
uniform int uTexSource;   // 0 vertex, 1 camera-space normal, 2 camera-space reflection
uniform bool uLighting;
out vec4 vColor;
out vec2 vUv;
void main() {
    vec4 p = uWorldViewProj * vec4(aPosition, 1.0);
    gl_Position = vec4(p.x, p.y, 2.0 * p.z - p.w, p.w);
    vec3 n = mat3(uWorldView) * aNormal;
    float len = length(n);
    n = len > 0.0 ? n / len : n;
    vColor = aColor;
    if (uLighting) {
        // One fixed light from above and behind the viewer over white ambient.
        const vec3 toLight = normalize(vec3(0.3, 0.6, -0.75));
        vColor.rgb *= clamp(0.45 + 0.55 * max(dot(n, toLight), 0.0), 0.0, 1.0);
    }
    vec4 t = vec4(aUv, 1.0, 0.0);
    if (uTexSource == 1) {
        t = vec4(n, 1.0);
    } else if (uTexSource == 2) {
        vec3 eye = (uWorldView * vec4(aPosition, 1.0)).xyz;
        t = vec4(reflect(normalize(eye), n), 1.0);
    }
    vUv = (uTexMatrix * t).xy;
}
)";

const char* const kDrawFragmentShader = R"(#version 330 core
in vec4 vColor;
in vec2 vUv;
uniform sampler2D uTexture;
uniform bool uTextured;
uniform bool uAlphaTest;
uniform float uAlphaRef;   // 0..255; passes when alpha >= ref
out vec4 fragColor;
void main() {
    vec4 c = vColor;
    if (uTextured) c *= texture(uTexture, vUv);
    if (uAlphaTest && c.a * 255.0 < uAlphaRef - 0.5) discard;
    fragColor = c;
}
)";

// One triangle covering the viewport, from the vertex number alone.
const char* const kPresentVertexShader = R"(#version 330 core
out vec2 vUv;
void main() {
    vec2 p = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
    vUv = p;
    gl_Position = vec4(p * 2.0 - 1.0, 0.0, 1.0);
}
)";

const char* const kPresentFragmentShader = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uPicture;
uniform float uScale;   // brightness + 0.5
out vec4 fragColor;
void main() {
    fragColor = vec4(min(texture(uPicture, vUv).rgb * uScale, vec3(1.0)), 1.0);
}
)";

unsigned compileProgram(const gl::Functions& gl, const char* vs, const char* fs,
                        std::string* error) {
    auto compile = [&](GLenum kind, const char* source) -> unsigned {
        const unsigned shader = gl.CreateShader(kind);
        gl.ShaderSource(shader, 1, &source, nullptr);
        gl.CompileShader(shader);
        GLint ok = 0;
        gl.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        if (!ok) {
            char log[1024] = {};
            gl.GetShaderInfoLog(shader, sizeof log, nullptr, log);
            if (error) *error = std::string("shader does not compile: ") + log;
            gl.DeleteShader(shader);
            return 0;
        }
        return shader;
    };
    const unsigned v = compile(GL_VERTEX_SHADER, vs);
    if (!v) return 0;
    const unsigned f = compile(GL_FRAGMENT_SHADER, fs);
    if (!f) {
        gl.DeleteShader(v);
        return 0;
    }
    const unsigned program = gl.CreateProgram();
    gl.AttachShader(program, v);
    gl.AttachShader(program, f);
    gl.LinkProgram(program);
    gl.DeleteShader(v);
    gl.DeleteShader(f);
    GLint ok = 0;
    gl.GetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        gl.GetProgramInfoLog(program, sizeof log, nullptr, log);
        if (error) *error = std::string("shader program does not link: ") + log;
        gl.DeleteProgram(program);
        return 0;
    }
    return program;
}

GLenum glBlendFactor(uint32_t factor) {
    switch (factor) {
    case BlendZero: return GL_ZERO;
    case BlendOne: return GL_ONE;
    case BlendSrcColor: return GL_SRC_COLOR;
    case BlendInvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case BlendSrcAlpha: return GL_SRC_ALPHA;
    case BlendInvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendDstColor: return GL_DST_COLOR;
    case BlendInvDstColor: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
    }
}

void* getProc(const char* name) { return SDL_GL_GetProcAddress(name); }

}  // namespace

// ---------------------------------------------------------------------------
// Creation

GlDevice::GlDevice(SDL_Window* window) : m_window(window) {
    // The fixed render states every frame starts from.
    auto set = [&](RenderState s, uint32_t v) { m_current.states[size_t(s)] = v; };
    set(RenderState::DepthTest, 1);
    set(RenderState::DepthWrite, 1);
    set(RenderState::AlphaBlend, 0);
    set(RenderState::SrcBlend, BlendOne);
    set(RenderState::DstBlend, BlendZero);
    set(RenderState::AlphaTest, 0);
    set(RenderState::AlphaRef, 128);
    set(RenderState::Cull, CullCounterClockwise);
    set(RenderState::Lighting, 0);
    set(RenderState::TextureFilter, FilterPoint);
    set(RenderState::TexCoordSource, TexCoordVertex);
    m_current.transforms.fill(base::Matrix::identity());
}

std::unique_ptr<GlDevice> GlDevice::create(SDL_Window* window, std::string* error) {
    std::unique_ptr<GlDevice> device(new GlDevice(window));
    if (!device->init(error)) return nullptr;
    return device;
}

bool GlDevice::init(std::string* error) {
    const char* missing = nullptr;
    if (!gl::loadFunctions(m_gl, &getProc, &missing)) {
        if (error) *error = std::string("OpenGL function missing: ") + (missing ? missing : "?");
        return false;
    }
    const auto& gl = m_gl;
    GLint major = 0, minor = 0;
    gl.GetIntegerv(GL_MAJOR_VERSION, &major);
    gl.GetIntegerv(GL_MINOR_VERSION, &minor);
    if (major < 3 || (major == 3 && minor < 3)) {
        if (error) *error = "OpenGL 3.3 is required";
        return false;
    }
    gl.GetIntegerv(GL_MAX_TEXTURE_SIZE, &m_maxTextureSize);

    m_program = compileProgram(gl, kDrawVertexShader, kDrawFragmentShader, error);
    if (!m_program) return false;
    m_presentProgram = compileProgram(gl, kPresentVertexShader, kPresentFragmentShader, error);
    if (!m_presentProgram) return false;
    auto loc = [&](const char* name) { return gl.GetUniformLocation(m_program, name); };
    m_uniforms.worldViewProj = loc("uWorldViewProj");
    m_uniforms.worldView = loc("uWorldView");
    m_uniforms.texMatrix = loc("uTexMatrix");
    m_uniforms.texSource = loc("uTexSource");
    m_uniforms.textured = loc("uTextured");
    m_uniforms.alphaTest = loc("uAlphaTest");
    m_uniforms.alphaRef = loc("uAlphaRef");
    m_uniforms.lighting = loc("uLighting");
    m_uniforms.texture = loc("uTexture");
    m_presentScale = gl.GetUniformLocation(m_presentProgram, "uScale");
    m_presentPicture = gl.GetUniformLocation(m_presentProgram, "uPicture");

    // The one vertex layout every format is widened into.
    gl.GenVertexArrays(1, &m_vao);
    gl.GenVertexArrays(1, &m_presentVao);
    gl.BindVertexArray(m_vao);
    gl.GenBuffers(1, &m_vbo);
    gl.GenBuffers(1, &m_ibo);
    gl.BindBuffer(GL_ARRAY_BUFFER, m_vbo);
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_ibo);  // recorded in the vertex array
    const GLsizei stride = sizeof(GpuVertex);
    gl.EnableVertexAttribArray(0);
    gl.VertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(GpuVertex, x));
    gl.EnableVertexAttribArray(1);
    gl.VertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                           (void*)offsetof(GpuVertex, color));
    gl.EnableVertexAttribArray(2);
    gl.VertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(GpuVertex, nx));
    gl.EnableVertexAttribArray(3);
    gl.VertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(GpuVertex, u));

    // Stage 0 filtering is a device state here but a sampler property in GL.
    gl.GenSamplers(2, m_samplers);
    for (int i = 0; i < 2; ++i) {
        const GLint filter = i == FilterLinear ? GL_LINEAR : GL_NEAREST;
        gl.SamplerParameteri(m_samplers[i], GL_TEXTURE_MIN_FILTER, filter);
        gl.SamplerParameteri(m_samplers[i], GL_TEXTURE_MAG_FILTER, filter);
        gl.SamplerParameteri(m_samplers[i], GL_TEXTURE_WRAP_S, GL_REPEAT);
        gl.SamplerParameteri(m_samplers[i], GL_TEXTURE_WRAP_T, GL_REPEAT);
    }

    // The 800 x 600 picture: colour without alpha, as a display back buffer,
    // so blending into it behaves as destination alpha 1.
    gl.GenTextures(1, &m_pictureTexture);
    gl.BindTexture(GL_TEXTURE_2D, m_pictureTexture);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, kWidth, kHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    gl.GenRenderbuffers(1, &m_depthBuffer);
    gl.BindRenderbuffer(GL_RENDERBUFFER, m_depthBuffer);
    gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kWidth, kHeight);
    gl.GenFramebuffers(1, &m_fbo);
    gl.BindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_pictureTexture, 0);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                               m_depthBuffer);
    if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        if (error) *error = "the offscreen picture cannot be rendered to";
        return false;
    }

    m_frameVertices.resize(kFrameVertexCapacity);
    m_frameIndices.resize(kFrameIndexCapacity);
    m_draws.resize(kMaxQueuedDraws);
    m_rowBuffer.resize(size_t(kWidth) * 4);

    // Start from a black picture with a cleared depth buffer.
    clear(ClearColor | ClearDepth | ClearStencil, 0xFF000000u, 1.0f, 0);
    while (gl.GetError() != GL_NO_ERROR) {
        // Stray errors left by context creation say nothing about the device.
    }
    return true;
}

GlDevice::~GlDevice() {
    const auto& gl = m_gl;
    if (!gl.DeleteProgram) return;  // functions never loaded: nothing was created
    gl.DeleteProgram(m_program);
    gl.DeleteProgram(m_presentProgram);
    gl.DeleteVertexArrays(1, &m_vao);
    gl.DeleteVertexArrays(1, &m_presentVao);
    gl.DeleteBuffers(1, &m_vbo);
    gl.DeleteBuffers(1, &m_ibo);
    gl.DeleteSamplers(2, m_samplers);
    gl.DeleteFramebuffers(1, &m_fbo);
    gl.DeleteTextures(1, &m_pictureTexture);
    gl.DeleteRenderbuffers(1, &m_depthBuffer);
}

// ---------------------------------------------------------------------------
// State

void GlDevice::setRenderState(RenderState state, uint32_t value) {
    const size_t i = size_t(state);
    if (i >= m_current.states.size() || m_current.states[i] == value) return;
    m_current.states[i] = value;
    m_batch.stateChanged();
    ++m_stats.stateChanges;
}

uint32_t GlDevice::renderState(RenderState state) const {
    const size_t i = size_t(state);
    return i < m_current.states.size() ? m_current.states[i] : 0;
}

void GlDevice::setTransform(TransformKind kind, const base::Matrix& m) {
    const size_t i = size_t(kind);
    if (i >= m_current.transforms.size()) return;
    if (std::memcmp(&m_current.transforms[i], &m, sizeof m) == 0) return;
    m_current.transforms[i] = m;
    m_batch.stateChanged();
}

const base::Matrix& GlDevice::transform(TransformKind kind) const {
    const size_t i = size_t(kind);
    return m_current.transforms[i < m_current.transforms.size() ? i : 0];
}

void GlDevice::bindPictureFramebuffer() {
    m_gl.BindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    m_gl.Viewport(0, 0, kWidth, kHeight);
    m_gl.Disable(GL_SCISSOR_TEST);
}

void GlDevice::clear(uint32_t flags, uint32_t argb, float depth, uint32_t stencil) {
    flush();
    const auto& gl = m_gl;
    bindPictureFramebuffer();
    GLbitfield mask = 0;
    if (flags & ClearColor) {
        gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl.ClearColor(float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f,
                      float(argb & 0xFF) / 255.0f, float(argb >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & ClearDepth) {
        gl.DepthMask(GL_TRUE);
        gl.ClearDepth(std::clamp(depth, 0.0f, 1.0f));
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & ClearStencil) {
        gl.ClearStencil(GLint(stencil & 0xFF));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (mask) gl.Clear(mask);
}

void GlDevice::setPipeline() {
    const auto& gl = m_gl;
    bindPictureFramebuffer();
    gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.DepthFunc(GL_LEQUAL);
    gl.UseProgram(m_program);
    gl.Uniform1i(m_uniforms.texture, 0);
    gl.ActiveTexture(GL_TEXTURE0);
    gl.BindVertexArray(m_vao);
    gl.BindBuffer(GL_ARRAY_BUFFER, m_vbo);
}

void GlDevice::applyDrawSettings(const DrawSettings& s, const DrawSettings* previous) {
    const auto& gl = m_gl;
    auto state = [&](RenderState r) { return s.states[size_t(r)]; };
    // Only what differs from the draw before is set (everything for the first).
    auto changed = [&](RenderState r) { return !previous || previous->states[size_t(r)] != state(r); };
    auto toggle = [&](GLenum cap, bool on) { on ? gl.Enable(cap) : gl.Disable(cap); };

    if (changed(RenderState::DepthTest)) toggle(GL_DEPTH_TEST, state(RenderState::DepthTest) != 0);
    if (changed(RenderState::DepthWrite)) gl.DepthMask(state(RenderState::DepthWrite) ? GL_TRUE : GL_FALSE);
    if (changed(RenderState::AlphaBlend)) toggle(GL_BLEND, state(RenderState::AlphaBlend) != 0);
    if (changed(RenderState::SrcBlend) || changed(RenderState::DstBlend))
        gl.BlendFunc(glBlendFactor(state(RenderState::SrcBlend)), glBlendFactor(state(RenderState::DstBlend)));
    if (changed(RenderState::Cull)) {
        // Cull modes name the winding that is removed, as seen on screen.
        switch (state(RenderState::Cull)) {
        case CullClockwise:
            gl.Enable(GL_CULL_FACE);
            gl.FrontFace(GL_CCW);
            gl.CullFace(GL_BACK);
            break;
        case CullCounterClockwise:
            gl.Enable(GL_CULL_FACE);
            gl.FrontFace(GL_CW);
            gl.CullFace(GL_BACK);
            break;
        default:
            gl.Disable(GL_CULL_FACE);
            break;
        }
    }

    const auto& t = s.transforms;
    if (!previous || std::memcmp(t.data(), previous->transforms.data(), sizeof s.transforms) != 0) {
        const base::Matrix worldView =
            base::multiply(t[size_t(TransformKind::World)], t[size_t(TransformKind::View)]);
        const base::Matrix worldViewProj = base::multiply(worldView, t[size_t(TransformKind::Projection)]);
        gl.UniformMatrix4fv(m_uniforms.worldViewProj, 1, GL_FALSE, &worldViewProj.m[0][0]);
        gl.UniformMatrix4fv(m_uniforms.worldView, 1, GL_FALSE, &worldView.m[0][0]);
        gl.UniformMatrix4fv(m_uniforms.texMatrix, 1, GL_FALSE, &t[size_t(TransformKind::Texture0)].m[0][0]);
    }
    const bool normalsChanged = !previous || previous->hasNormals != s.hasNormals;
    if (normalsChanged || changed(RenderState::TexCoordSource)) {
        const uint32_t texSource = state(RenderState::TexCoordSource);
        gl.Uniform1i(m_uniforms.texSource,
                     s.hasNormals && texSource <= TexCoordCameraReflection ? GLint(texSource) : 0);
    }
    if (normalsChanged || changed(RenderState::Lighting))
        gl.Uniform1i(m_uniforms.lighting, s.hasNormals && state(RenderState::Lighting) != 0);
    if (changed(RenderState::AlphaTest)) gl.Uniform1i(m_uniforms.alphaTest, state(RenderState::AlphaTest) != 0);
    if (changed(RenderState::AlphaRef))
        gl.Uniform1f(m_uniforms.alphaRef, float(std::min<uint32_t>(state(RenderState::AlphaRef), 255)));
    if (!previous || previous->texture != s.texture) {
        gl.Uniform1i(m_uniforms.textured, s.texture != 0);
        gl.BindTexture(GL_TEXTURE_2D, s.texture);
    }
    if (changed(RenderState::TextureFilter))
        gl.BindSampler(0, m_samplers[state(RenderState::TextureFilter) == FilterLinear ? 1 : 0]);
}

void GlDevice::checkErrors(const char* where) {
#if TESSALY_CHECKS
    for (GLenum e = m_gl.GetError(); e != GL_NO_ERROR; e = m_gl.GetError()) {
        std::fprintf(stderr, "OpenGL error 0x%04x after %s\n", unsigned(e), where);
        TESSALY_ASSERT(false, "a GL call above was given something GL refuses; run under a GL debugger "
                              "(apitrace) to see which");
    }
#else
    (void)where;
#endif
}

// ---------------------------------------------------------------------------
// Textures

TextureId GlDevice::createTexture(int width, int height) {
    if (width <= 0 || height <= 0 || width > m_maxTextureSize || height > m_maxTextureSize) return 0;
    const auto& gl = m_gl;
    unsigned id = 0;
    gl.GenTextures(1, &id);
    gl.BindTexture(GL_TEXTURE_2D, id);
    // Transparent black until filled.
    const std::vector<uint8_t> zeros(size_t(width) * size_t(height) * 4, 0);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                  zeros.data());
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    gl.BindTexture(GL_TEXTURE_2D, m_current.texture);
    return id;
}

void GlDevice::updateTexture(TextureId id, int x, int y, int width, int height,
                             const uint8_t* pixels, int pitch) {
    if (id == 0 || !pixels || width <= 0 || height <= 0 || pitch < width * 4 || pitch % 4) return;
    // Quads already batched must still see the old texels.
    flush();
    const auto& gl = m_gl;
    gl.BindTexture(GL_TEXTURE_2D, id);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, pitch / 4);
    // GL refuses a rectangle outside the texture rather than writing past it.
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl.BindTexture(GL_TEXTURE_2D, m_current.texture);
}

void GlDevice::destroyTexture(TextureId id) {
    if (id == 0) return;
    flush();
    const unsigned name = id;
    m_gl.DeleteTextures(1, &name);
    if (m_current.texture == id) {
        m_current.texture = 0;
        m_batch.stateChanged();
    }
}

// Stored buffers go through the array-buffer binding whatever they hold:
// binding the element-array target here would change the vertex array's
// own index buffer. The frame's buffer is bound again before anything draws.
BufferId GlDevice::storeBuffer(const void* bytes, size_t size) {
    const auto& gl = m_gl;
    unsigned id = 0;
    gl.GenBuffers(1, &id);
    if (id == 0) return 0;
    gl.BindBuffer(GL_ARRAY_BUFFER, id);
    gl.BufferData(GL_ARRAY_BUFFER, GLsizeiptr(size), bytes, GL_STATIC_DRAW);
    gl.BindBuffer(GL_ARRAY_BUFFER, m_vbo);
    checkErrors("buffer creation");
    return id;
}

BufferId GlDevice::createVertexBuffer(VertexFormat format, const void* vertices, int vertexCount) {
    if (!vertices || vertexCount <= 0) return 0;
    return storeBuffer(vertices, size_t(vertexCount) * size_t(vertexStride(format)));
}

BufferId GlDevice::createIndexBuffer(const uint16_t* indices, int indexCount) {
    if (!indices || indexCount <= 0) return 0;
    return storeBuffer(indices, size_t(indexCount) * sizeof(uint16_t));
}

void GlDevice::destroyBuffer(BufferId id) {
    if (id == 0) return;
    const unsigned name = id;
    m_gl.DeleteBuffers(1, &name);
}

void GlDevice::setTexture(TextureId id) {
    if (id == m_current.texture) return;
    m_current.texture = id;
    m_batch.stateChanged();
    ++m_stats.textureBinds;
}

// ---------------------------------------------------------------------------
// Drawing and batching

void GlDevice::drawPrimitive(Primitive type, VertexFormat format, const void* vertices,
                             int vertexCount, const uint16_t* indices, int indexCount) {
    ++m_stats.primitiveCalls;
    const PrimitiveShape shape = primitiveShape(type, vertices, vertexCount, indices, indexCount);
    if (shape.triangles <= 0) {
        if (vertexCount > kBatchMaxVertices && !m_reportedOversize) {
            std::fprintf(stderr, "Primitive of %d vertices is larger than a draw; not drawn\n", vertexCount);
            m_reportedOversize = true;
        }
        return;
    }
    if (type == Primitive::TriangleStrip) indices = nullptr;  // strips carry no indices
    m_stats.triangles += uint64_t(shape.triangles);

    // A full frame's arrays or draw list are sent first; the call then opens
    // a draw of its own.
    if (m_vertexCount + vertexCount > kFrameVertexCapacity || m_indexCount + shape.indexCount > kFrameIndexCapacity)
        flush();
    const bool hasNormals = format == VertexFormat::PosNormalTex;
    if (m_batch.place(shape, vertexCount, hasNormals) == BatchRule::Place::OpensDraw) {
        if (m_drawCount == kMaxQueuedDraws) {
            flush();
            m_batch.place(shape, vertexCount, hasNormals);
        }
        QueuedDraw& draw = m_draws[size_t(m_drawCount++)];
        draw.firstIndex = m_indexCount;
        draw.indexCount = 0;
        draw.baseVertex = m_vertexCount;
        draw.settings = m_current;
        draw.settings.hasNormals = hasNormals;
    }
    QueuedDraw& draw = m_draws[size_t(m_drawCount - 1)];

    // Widen the vertices into the frame's array.
    GpuVertex* out = m_frameVertices.data() + m_vertexCount;
    switch (format) {
    case VertexFormat::PosColorTex: {
        const auto* in = static_cast<const VertexPCT*>(vertices);
        for (int i = 0; i < vertexCount; ++i)
            out[i] = {in[i].x, in[i].y, in[i].z, in[i].color, 0, 0, 0, in[i].u, in[i].v};
        break;
    }
    case VertexFormat::PosNormalTex: {
        const auto* in = static_cast<const VertexPNT*>(vertices);
        for (int i = 0; i < vertexCount; ++i)
            out[i] = {in[i].x, in[i].y, in[i].z, 0xFFFFFFFFu, in[i].nx, in[i].ny, in[i].nz,
                      in[i].u, in[i].v};
        break;
    }
    case VertexFormat::PosTex: {
        const auto* in = static_cast<const VertexPT*>(vertices);
        for (int i = 0; i < vertexCount; ++i)
            out[i] = {in[i].x, in[i].y, in[i].z, 0xFFFFFFFFu, 0, 0, 0, in[i].u, in[i].v};
        break;
    }
    }

    // Indices as triangles counted from the draw's base vertex (a draw holds
    // at most 65536 vertices, so they fit 16 bits). Strip triangles alternate
    // their order so that every one keeps the strip's winding.
    const auto base = uint16_t(m_vertexCount - draw.baseVertex);
    uint16_t* idx = m_frameIndices.data() + m_indexCount;
    const int triangles = shape.triangles, newIndices = shape.indexCount;
    if (type == Primitive::TriangleStrip) {
        for (int t = 0; t < triangles; ++t) {
            const bool odd = t & 1;
            *idx++ = uint16_t(base + t + (odd ? 1 : 0));
            *idx++ = uint16_t(base + t + (odd ? 0 : 1));
            *idx++ = uint16_t(base + t + 2);
        }
    } else if (indices) {
        for (int i = 0; i < newIndices; ++i) *idx++ = uint16_t(base + indices[i]);
    } else {
        for (int i = 0; i < newIndices; ++i) *idx++ = uint16_t(base + i);
    }
    m_vertexCount += vertexCount;
    m_indexCount += newIndices;
    draw.indexCount += newIndices;
}

void GlDevice::flush() {
    m_batch.close();
    if (m_drawCount == 0) {
        m_vertexCount = m_indexCount = 0;
        return;
    }
    const auto& gl = m_gl;
    setPipeline();
    // One upload of the frame's vertices and indices, into fresh storage:
    // writing into storage that queued draws still read makes some drivers
    // (Mesa's software renderer among them) finish those draws first.
    gl.BufferData(GL_ARRAY_BUFFER, GLsizeiptr(m_vertexCount) * GLsizeiptr(sizeof(GpuVertex)),
                  m_frameVertices.data(), GL_STREAM_DRAW);
    gl.BufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(m_indexCount) * GLsizeiptr(sizeof(uint16_t)),
                  m_frameIndices.data(), GL_STREAM_DRAW);
    ++m_stats.flushes;
    m_stats.uploadedVertices += uint64_t(m_vertexCount);
    const DrawSettings* previous = nullptr;
    for (int i = 0; i < m_drawCount; ++i) {
        const QueuedDraw& draw = m_draws[size_t(i)];
        applyDrawSettings(draw.settings, previous);
        previous = &draw.settings;
        gl.DrawElementsBaseVertex(GL_TRIANGLES, draw.indexCount, GL_UNSIGNED_SHORT,
                                  reinterpret_cast<const void*>(uintptr_t(draw.firstIndex) * sizeof(uint16_t)),
                                  draw.baseVertex);
        ++m_stats.drawCalls;
    }
    m_vertexCount = m_indexCount = m_drawCount = 0;
    checkErrors("a flush of queued draws");
}

// ---------------------------------------------------------------------------
// Present and read-back

std::string GlDevice::rendererText() const {
    auto text = [this](GLenum name) {
        const auto* s = reinterpret_cast<const char*>(m_gl.GetString(name));
        return std::string(s ? s : "unknown");
    };
    return text(GL_RENDERER) + " (" + text(GL_VERSION) + ")";
}

bool GlDevice::present() {
    flush();
    const auto& gl = m_gl;
    int outW = 0, outH = 0;
    SDL_GL_GetDrawableSize(m_window, &outW, &outH);
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.Disable(GL_SCISSOR_TEST);
    gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.Viewport(0, 0, outW, outH);
    gl.ClearColor(0, 0, 0, 1);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    const Letterbox box = computeLetterbox(outW, outH);
    if (box.width > 0 && box.height > 0) {
        // GL's window origin is bottom-left; the box is measured from the top.
        gl.Viewport(box.x, outH - box.y - box.height, box.width, box.height);
        gl.Disable(GL_DEPTH_TEST);
        gl.Disable(GL_BLEND);
        gl.Disable(GL_CULL_FACE);
        gl.UseProgram(m_presentProgram);
        gl.Uniform1f(m_presentScale, m_brightness + 0.5f);
        gl.Uniform1i(m_presentPicture, 0);
        gl.ActiveTexture(GL_TEXTURE0);
        gl.BindTexture(GL_TEXTURE_2D, m_pictureTexture);
        const bool exact = box.width == kWidth && box.height == kHeight;
        gl.BindSampler(0, m_samplers[exact ? 0 : 1]);
        gl.BindVertexArray(m_presentVao);
        gl.DrawArrays(GL_TRIANGLES, 0, 3);
        gl.BindVertexArray(m_vao);
    }
    SDL_GL_SwapWindow(m_window);
    bindPictureFramebuffer();
    return true;
}

bool GlDevice::readPixels(uint8_t* rgba) {
    if (!rgba) return false;
    flush();
    const auto& gl = m_gl;
    gl.BindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    gl.PixelStorei(GL_PACK_ALIGNMENT, 4);
    gl.PixelStorei(GL_PACK_ROW_LENGTH, 0);
    gl.ReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    // GL reads bottom row first.
    const size_t row = size_t(kWidth) * 4;
    for (int y = 0; y < kHeight / 2; ++y) {
        uint8_t* a = rgba + size_t(y) * row;
        uint8_t* b = rgba + size_t(kHeight - 1 - y) * row;
        std::memcpy(m_rowBuffer.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, m_rowBuffer.data(), row);
    }
    return true;
}

}  // namespace tessaly::platform
