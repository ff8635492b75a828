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

namespace {

GLuint NewName(void (*generate)(GLsizei, GLuint*)) {
    GLuint name = 0;
    generate(1, &name);
    return name;
}

}  // namespace

GlBuffer NewGlBuffer() { return GlBuffer(NewName(glGenBuffers)); }
GlTexture NewGlTexture() { return GlTexture(NewName(glGenTextures)); }
GlVertexArray NewGlVertexArray() { return GlVertexArray(NewName(glGenVertexArrays)); }

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

GlTexture UploadTexture(const stackmason::Image& pixels) {
    GlTexture texture(NewName(glGenTextures));
    glBindTexture(GL_TEXTURE_2D, texture.Get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    stackmason::Image level = pixels.IsEmpty() ? stackmason::Image(1, 1) : pixels;
    for (GLint number = 0;; ++number) {
        glTexImage2D(GL_TEXTURE_2D, number, GL_RGBA8, level.Width(), level.Height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     level.Pixels().data());
        if (level.Width() == 1 && level.Height() == 1) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, number);
            break;
        }
        level = HalveWeighted(level);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_LINEAR);
    return texture;
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
