// A recording stand-in for the OpenGL 1.1 and GLU entry points the program
// uses, linked into native tests instead of a real GL (target ferro_fake_gl).
//
// Every call appends one string to Calls(), built by FormatCall():
//   name "(" arguments joined by ", " ")"
// Arguments are written by kind:
//   enumerations and bit masks  "0x%04X"   e.g. glBegin(0x0004), glClear(0x4100)
//   integers, sizes, names      "%d"       e.g. glViewport(0, 0, 640, 1)
//   floats and doubles          "%.9g"     e.g. glTexCoord2f(0.06640625, -0.04296875)
// Per function (E = enum, I = integer, F = float/double):
//   glEnable(E) glDisable(E) glFrontFace(E) glShadeModel(E) glPolygonMode(E, E)
//   glBlendFunc(E, E) glMatrixMode(E) glClear(E) glBegin(E) glBindTexture(E, I)
//   glPixelStorei(E, I) glTexParameteri(E, E, E) glTexEnvf(E, E, F)
//   glClearColor(F, F, F, F) glColor4f(F, F, F, F) glViewport(I, I, I, I)
//   glTranslatef/glScalef(F, F, F) glRotatef(F, F, F, F) glTexCoord2f(F, F)
//   glVertex3f(F, F, F) gluPerspective(F, F, F, F)
//   glLoadIdentity() glPushMatrix() glPopMatrix() glEnd() glFlush()
//   glGenTextures(n, {names handed out})   e.g. glGenTextures(2, {1, 2})
//   glDeleteTextures(n, {names})           e.g. glDeleteTextures(1, {1})
//   glTexImage2D(E, I, E, I, I, I, E, E, <N bytes>) where N is the size of the
//     pixel data implied by width, height, format, type and the current
//     GL_UNPACK_ALIGNMENT; "<null>" for a null pointer and "<unknown format>"
//     when the format or type is not one the fake knows. A copy of the N bytes
//     is kept in TexImages(), one entry per glTexImage2D call.
// glGenTextures hands out 1, 2, 3, ... from the last Reset().
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace fakegl {

// Forgets every recorded call and image, restarts texture names at 1 and
// puts GL_UNPACK_ALIGNMENT back to 4.
void Reset();

const std::vector<std::string>& Calls();

// Pixel bytes passed to each glTexImage2D call since the last Reset().
const std::vector<std::vector<std::uint8_t>>& TexImages();

std::string FormatEnum(unsigned int value);
std::string FormatInt(long long value);
std::string FormatReal(double value);
std::string FormatCall(const char* name, std::initializer_list<std::string> args);

// The calls a texture upload makes (bind, packing, repeat wrapping, linear
// filters, GL_MODULATE, the image), as this fake records them.
std::vector<std::string> TextureUploadCalls(unsigned texture, const char* format, int width,
                                            int height, int bytes);

}  // namespace fakegl
