#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <epoxy/gl.h>

#include "common/Image.h"

namespace orbitscope {

// Owns one OpenGL object name; 0 means none, so that objects made without a graphics
// context never call into OpenGL.
template <void (*Delete)(GLuint)>
class GlName {
public:
    GlName() = default;
    explicit GlName(GLuint name) : name_(name) {}
    GlName(GlName&& other) noexcept : name_(std::exchange(other.name_, 0)) {}
    GlName& operator=(GlName&& other) noexcept {
        if (this != &other) {
            Reset();
            name_ = std::exchange(other.name_, 0);
        }
        return *this;
    }
    ~GlName() { Reset(); }
    GLuint Get() const { return name_; }
    void Reset() {
        if (name_ != 0)
            Delete(name_);
        name_ = 0;
    }

private:
    GLuint name_ = 0;
};

void DeleteGlTexture(GLuint name);
void DeleteGlBuffer(GLuint name);
void DeleteGlVertexArray(GLuint name);
void DeleteGlProgram(GLuint name);
void DeleteGlFramebuffer(GLuint name);
void DeleteGlRenderbuffer(GLuint name);
void DeleteGlQuery(GLuint name);

using GlTexture = GlName<DeleteGlTexture>;
using GlBuffer = GlName<DeleteGlBuffer>;
using GlVertexArray = GlName<DeleteGlVertexArray>;
using GlProgram = GlName<DeleteGlProgram>;
using GlFramebuffer = GlName<DeleteGlFramebuffer>;
using GlRenderbuffer = GlName<DeleteGlRenderbuffer>;
using GlQuery = GlName<DeleteGlQuery>;

// A new name of each kind; needs a current context.
GlBuffer NewGlBuffer();
GlTexture NewGlTexture();
GlVertexArray NewGlVertexArray();
GlFramebuffer NewGlFramebuffer();
GlRenderbuffer NewGlRenderbuffer();
GlQuery NewGlQuery();

// An RGBA texture that repeats, sharp up close and smoothed with mipmaps far away.
GlTexture UploadTexture(const stackmason::Image& pixels);
// The same for an array of equally sized pictures, one layer each, sampled exactly as
// UploadTexture's texture of that picture is.
GlTexture UploadTextureArray(const std::vector<stackmason::Image>& layers);
// Level 0 of a texture of UploadTexture, read back from the graphics card.
stackmason::Image DownloadTexture(const GlTexture& texture);

// Compiles and links a vertex and a fragment shader; on failure gives 0 and the compiler's
// words in log.
GlProgram LinkProgram(const char* vertexSource, const char* fragmentSource, std::string& log);

}  // namespace orbitscope
