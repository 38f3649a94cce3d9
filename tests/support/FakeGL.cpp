// Recording definitions of the GL/GLU entry points; see FakeGL.h for the
// format of the recorded strings.
#include "support/FakeGL.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

namespace fakegl {

std::vector<std::string> TextureUploadCalls(unsigned texture, const char* format, int width,
                                            int height, int bytes) {
    const std::string size = std::to_string(width) + ", " + std::to_string(height);
    return {
        "glBindTexture(0x0DE1, " + std::to_string(texture) + ")",
        "glPixelStorei(0x0CF5, 1)",
        "glTexParameteri(0x0DE1, 0x2802, 0x2901)",
        "glTexParameteri(0x0DE1, 0x2803, 0x2901)",
        "glTexParameteri(0x0DE1, 0x2800, 0x2601)",
        "glTexParameteri(0x0DE1, 0x2801, 0x2601)",
        "glTexEnvf(0x2300, 0x2200, 8448)",
        std::string("glTexImage2D(0x0DE1, 0, ") + format + ", " + size + ", 0, " + format +
            ", 0x1401, <" + std::to_string(bytes) + " bytes>)",
    };
}
namespace {

struct State {
    std::vector<std::string> calls;
    std::vector<std::vector<std::uint8_t>> images;
    GLuint nextTexture = 1;
    GLint unpackAlignment = 4;
};

State& TheState() {
    static State state;
    return state;
}

void Record(const char* name, std::initializer_list<std::string> args) {
    TheState().calls.push_back(FormatCall(name, args));
}

std::string FormatNames(GLsizei n, const GLuint* names) {
    std::string text = "{";
    for (GLsizei i = 0; names != nullptr && i < n; ++i) {
        if (i > 0) text += ", ";
        text += FormatInt(names[i]);
    }
    return text + "}";
}

// Components per pixel of the formats the program can pass; 0 if unknown.
int Components(GLenum format) {
    switch (format) {
    case GL_ALPHA: case GL_LUMINANCE: case GL_RED: case GL_GREEN: case GL_BLUE:
        return 1;
    case GL_LUMINANCE_ALPHA: return 2;
    case GL_RGB: return 3;
    case GL_RGBA: return 4;
    default: return 0;
    }
}

int ComponentBytes(GLenum type) {
    switch (type) {
    case GL_UNSIGNED_BYTE: case GL_BYTE: return 1;
    case GL_UNSIGNED_SHORT: case GL_SHORT: return 2;
    case GL_UNSIGNED_INT: case GL_INT: case GL_FLOAT: return 4;
    default: return 0;
    }
}

// Bytes GL would read for the image, honouring the row alignment; -1 if unknown.
long long ImageBytes(GLsizei width, GLsizei height, GLenum format, GLenum type) {
    long long pixelBytes = static_cast<long long>(Components(format)) * ComponentBytes(type);
    if (pixelBytes == 0 || width < 0 || height < 0) return -1;
    long long row = pixelBytes * width;
    long long align = TheState().unpackAlignment > 0 ? TheState().unpackAlignment : 1;
    long long stride = (row + align - 1) / align * align;
    return height == 0 ? 0 : stride * (height - 1) + row;
}

}  // namespace

void Reset() { TheState() = State(); }

const std::vector<std::string>& Calls() { return TheState().calls; }

const std::vector<std::vector<std::uint8_t>>& TexImages() { return TheState().images; }

std::string FormatEnum(unsigned int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string FormatInt(long long value) { return std::to_string(value); }

std::string FormatReal(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string FormatCall(const char* name, std::initializer_list<std::string> args) {
    std::string text = name;
    text += '(';
    bool first = true;
    for (const std::string& arg : args) {
        if (!first) text += ", ";
        text += arg;
        first = false;
    }
    return text + ')';
}

}  // namespace fakegl

using fakegl::FormatEnum;
using fakegl::FormatInt;
using fakegl::FormatReal;
using fakegl::Record;

extern "C" {

void APIENTRY glEnable(GLenum cap) { Record("glEnable", {FormatEnum(cap)}); }
void APIENTRY glDisable(GLenum cap) { Record("glDisable", {FormatEnum(cap)}); }
void APIENTRY glFrontFace(GLenum mode) { Record("glFrontFace", {FormatEnum(mode)}); }
void APIENTRY glShadeModel(GLenum mode) { Record("glShadeModel", {FormatEnum(mode)}); }
void APIENTRY glPolygonMode(GLenum face, GLenum mode) {
    Record("glPolygonMode", {FormatEnum(face), FormatEnum(mode)});
}
void APIENTRY glBlendFunc(GLenum sfactor, GLenum dfactor) {
    Record("glBlendFunc", {FormatEnum(sfactor), FormatEnum(dfactor)});
}
void APIENTRY glGenTextures(GLsizei n, GLuint* textures) {
    for (GLsizei i = 0; textures != nullptr && i < n; ++i)
        textures[i] = fakegl::TheState().nextTexture++;
    Record("glGenTextures", {FormatInt(n), fakegl::FormatNames(n, textures)});
}
void APIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
    Record("glDeleteTextures", {FormatInt(n), fakegl::FormatNames(n, textures)});
}
void APIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    Record("glClearColor", {FormatReal(r), FormatReal(g), FormatReal(b), FormatReal(a)});
}
void APIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record("glViewport", {FormatInt(x), FormatInt(y), FormatInt(width), FormatInt(height)});
}
void APIENTRY glMatrixMode(GLenum mode) { Record("glMatrixMode", {FormatEnum(mode)}); }
void APIENTRY glLoadIdentity(void) { Record("glLoadIdentity", {}); }
void APIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    Record("gluPerspective", {FormatReal(fovy), FormatReal(aspect), FormatReal(zNear), FormatReal(zFar)});
}
void APIENTRY glClear(GLbitfield mask) { Record("glClear", {FormatEnum(mask)}); }
void APIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    Record("glTranslatef", {FormatReal(x), FormatReal(y), FormatReal(z)});
}
void APIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    Record("glRotatef", {FormatReal(angle), FormatReal(x), FormatReal(y), FormatReal(z)});
}
void APIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z) {
    Record("glScalef", {FormatReal(x), FormatReal(y), FormatReal(z)});
}
void APIENTRY glBindTexture(GLenum target, GLuint texture) {
    Record("glBindTexture", {FormatEnum(target), FormatInt(texture)});
}
void APIENTRY glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    Record("glColor4f", {FormatReal(r), FormatReal(g), FormatReal(b), FormatReal(a)});
}
void APIENTRY glFlush(void) { Record("glFlush", {}); }
void APIENTRY glPushMatrix(void) { Record("glPushMatrix", {}); }
void APIENTRY glPopMatrix(void) { Record("glPopMatrix", {}); }
void APIENTRY glBegin(GLenum mode) { Record("glBegin", {FormatEnum(mode)}); }
void APIENTRY glEnd(void) { Record("glEnd", {}); }
void APIENTRY glTexCoord2f(GLfloat s, GLfloat t) { Record("glTexCoord2f", {FormatReal(s), FormatReal(t)}); }
void APIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    Record("glVertex3f", {FormatReal(x), FormatReal(y), FormatReal(z)});
}
void APIENTRY glPixelStorei(GLenum pname, GLint param) {
    if (pname == GL_UNPACK_ALIGNMENT) fakegl::TheState().unpackAlignment = param;
    Record("glPixelStorei", {FormatEnum(pname), FormatInt(param)});
}
void APIENTRY glTexParameteri(GLenum target, GLenum pname, GLint param) {
    Record("glTexParameteri", {FormatEnum(target), FormatEnum(pname), FormatEnum(static_cast<unsigned>(param))});
}
void APIENTRY glTexEnvf(GLenum target, GLenum pname, GLfloat param) {
    Record("glTexEnvf", {FormatEnum(target), FormatEnum(pname), FormatReal(param)});
}
void APIENTRY glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                           GLsizei height, GLint border, GLenum format, GLenum type,
                           const GLvoid* pixels) {
    std::string data;
    std::vector<std::uint8_t> copy;
    long long bytes = fakegl::ImageBytes(width, height, format, type);
    if (pixels == nullptr) {
        data = "<null>";
    } else if (bytes < 0) {
        data = "<unknown format>";
    } else {
        const auto* first = static_cast<const std::uint8_t*>(pixels);
        copy.assign(first, first + bytes);
        data = "<" + FormatInt(bytes) + " bytes>";
    }
    fakegl::TheState().images.push_back(std::move(copy));
    Record("glTexImage2D", {FormatEnum(target), FormatInt(level), FormatEnum(static_cast<unsigned>(internalFormat)),
                            FormatInt(width), FormatInt(height), FormatInt(border), FormatEnum(format),
                            FormatEnum(type), data});
}

}  // extern "C"
