#include "preview/engine/GlObjects.h"

#include <algorithm>
#include <cstddef>

namespace orbitscope {

void DeleteGlTexture(GLuint name) { glDeleteTextures(1, &name); }
void DeleteGlBuffer(GLuint name) { glDeleteBuffers(1, &name); }
void DeleteGlVertexArray(GLuint name) { glDeleteVertexArrays(1, &name); }
void DeleteGlProgram(GLuint name) { glDeleteProgram(name); }
void DeleteGlFramebuffer(GLuint name) { glDeleteFramebuffers(1, &name); }
void DeleteGlRenderbuffer(GLuint name) { glDeleteRenderbuffers(1, &name); }
void DeleteGlQuery(GLuint name) { glDeleteQueries(1, &name); }

namespace {

// The one place the engine asks OpenGL for a name; the kinds differ in their glGen* alone.
GLuint NewName(void (*generate)(GLsizei, GLuint*)) {
    GLuint name = 0;
    generate(1, &name);
    return name;
}

}  // namespace

GlBuffer NewGlBuffer() { return GlBuffer(NewName(glGenBuffers)); }
GlTexture NewGlTexture() { return GlTexture(NewName(glGenTextures)); }
GlVertexArray NewGlVertexArray() { return GlVertexArray(NewName(glGenVertexArrays)); }
GlFramebuffer NewGlFramebuffer() { return GlFramebuffer(NewName(glGenFramebuffers)); }
GlRenderbuffer NewGlRenderbuffer() { return GlRenderbuffer(NewName(glGenRenderbuffers)); }
GlQuery NewGlQuery() { return GlQuery(NewName(glGenQueries)); }

namespace {

// The next smaller mipmap level. Colours are averaged weighted by their alpha, so that
// transparent texels (transparent black, as new textures are) do not darken the edges of
// see-through blocks in the distance; alpha is the plain average.
stackmason::Image HalveWeighted(const stackmason::Image& source) {
    const int width = std::max(source.Width() / 2, 1);
    const int height = std::max(source.Height() / 2, 1);
    stackmason::Image half(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int sum[4] = {0, 0, 0, 0};
            int samples = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const int sx = std::min(2 * x + dx, source.Width() - 1);
                    const int sy = std::min(2 * y + dy, source.Height() - 1);
                    const stackmason::Rgba p = source.Pixel(sx, sy);
                    sum[0] += p.r * p.a;
                    sum[1] += p.g * p.a;
                    sum[2] += p.b * p.a;
                    sum[3] += p.a;
                    ++samples;
                }
            auto colour = [&](int channel) {
                return static_cast<std::uint8_t>(sum[3] == 0 ? 0 : (sum[channel] + sum[3] / 2) / sum[3]);
            };
            half.SetPixel(x, y, {colour(0), colour(1), colour(2), static_cast<std::uint8_t>((sum[3] + samples / 2) / samples)});
        }
    return half;
}

}  // namespace

namespace {

void SetSampling(GLenum target, GLint lastLevel) {
    glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, lastLevel);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_LINEAR);
}

// Levels down to 1 x 1.
GLint LastLevel(int width, int height) {
    GLint level = 0;
    for (; width > 1 || height > 1; ++level) {
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
    }
    return level;
}

}  // namespace

GlTexture UploadTexture(const stackmason::Image& pixels) {
    GlTexture texture = NewGlTexture();
    glBindTexture(GL_TEXTURE_2D, texture.Get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    stackmason::Image level = pixels.IsEmpty() ? stackmason::Image(1, 1) : pixels;
    const GLint last = LastLevel(level.Width(), level.Height());
    for (GLint number = 0;; ++number) {
        glTexImage2D(GL_TEXTURE_2D, number, GL_RGBA8, level.Width(), level.Height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     level.Pixels().data());
        if (number == last)
            break;
        level = HalveWeighted(level);
    }
    SetSampling(GL_TEXTURE_2D, last);
    return texture;
}

GlTexture UploadTextureArray(const std::vector<stackmason::Image>& layers) {
    GlTexture texture = NewGlTexture();
    glBindTexture(GL_TEXTURE_2D_ARRAY, texture.Get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const int width = layers.empty() || layers.front().IsEmpty() ? 1 : layers.front().Width();
    const int height = layers.empty() || layers.front().IsEmpty() ? 1 : layers.front().Height();
    const auto count = static_cast<GLsizei>(std::max<std::size_t>(layers.size(), 1));
    const GLint last = LastLevel(width, height);
    for (GLint number = 0, w = width, h = height; number <= last; ++number, w = std::max(w / 2, 1), h = std::max(h / 2, 1))
        glTexImage3D(GL_TEXTURE_2D_ARRAY, number, GL_RGBA8, w, h, count, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    for (std::size_t layer = 0; layer < layers.size(); ++layer) {
        stackmason::Image level = layers[layer].IsEmpty() ? stackmason::Image(1, 1) : layers[layer];
        for (GLint number = 0; number <= last; ++number) {
            glTexSubImage3D(GL_TEXTURE_2D_ARRAY, number, 0, 0, static_cast<GLint>(layer), level.Width(), level.Height(), 1,
                            GL_RGBA, GL_UNSIGNED_BYTE, level.Pixels().data());
            if (number < last)
                level = HalveWeighted(level);
        }
    }
    SetSampling(GL_TEXTURE_2D_ARRAY, last);
    return texture;
}

stackmason::Image DownloadTexture(const GlTexture& texture) {
    glBindTexture(GL_TEXTURE_2D, texture.Get());
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    stackmason::Image pixels(width, height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.Pixels().data());
    return pixels;
}

namespace {

GLuint CompileShader(GLenum kind, const char* source, std::string& log) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE)
        return shader;
    char text[2048] = {};
    glGetShaderInfoLog(shader, sizeof text - 1, nullptr, text);
    log += text;
    glDeleteShader(shader);
    return 0;
}

}  // namespace

GlProgram LinkProgram(const char* vertexSource, const char* fragmentSource, std::string& log) {
    const GLuint vertex = CompileShader(GL_VERTEX_SHADER, vertexSource, log);
    const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, fragmentSource, log);
    if (vertex == 0 || fragment == 0) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return {};
    }
    GlProgram program(glCreateProgram());
    glAttachShader(program.Get(), vertex);
    glAttachShader(program.Get(), fragment);
    glBindAttribLocation(program.Get(), 0, "aPosition");
    glBindAttribLocation(program.Get(), 1, "aNormal");
    glBindAttribLocation(program.Get(), 2, "aUv");
    glLinkProgram(program.Get());
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program.Get(), GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char text[2048] = {};
        glGetProgramInfoLog(program.Get(), sizeof text - 1, nullptr, text);
        log += text;
        return {};
    }
    return program;
}

}  // namespace orbitscope
