// OpenGL without a context, for the loader tests and fuzz targets: the calls do
// nothing, except that glTexImage2D reads every byte of the image it is given,
// rows padded to the unpack alignment, so AddressSanitizer sees a buffer
// shorter than what the size and format promise.
#include <GL/gl.h>

#include <cstddef>

static GLint g_nUnpackAlignment = 4;
static volatile unsigned g_uSink;  // keeps the image's reads

extern "C" {

void APIENTRY glPushMatrix(void) {}
void APIENTRY glPopMatrix(void) {}
void APIENTRY glScalef(GLfloat, GLfloat, GLfloat) {}
void APIENTRY glBegin(GLenum) {}
void APIENTRY glEnd(void) {}
void APIENTRY glTexCoord2f(GLfloat, GLfloat) {}
void APIENTRY glVertex3f(GLfloat, GLfloat, GLfloat) {}
void APIENTRY glBindTexture(GLenum, GLuint) {}
void APIENTRY glTexParameteri(GLenum, GLenum, GLint) {}
void APIENTRY glTexEnvf(GLenum, GLenum, GLfloat) {}
void APIENTRY glPixelStorei(GLenum eName, GLint nValue) {
    if (eName == GL_UNPACK_ALIGNMENT) g_nUnpackAlignment = nValue;
}
void APIENTRY glTexImage2D(GLenum, GLint, GLint, GLsizei nWidth, GLsizei nHeight, GLint, GLenum eFormat, GLenum,
                           const GLvoid* pPixels) {
    const std::size_t nRow = std::size_t(eFormat == GL_RGBA ? 4 : eFormat == GL_RGB ? 3 : 1) * std::size_t(nWidth);
    const std::size_t nStride = (nRow + g_nUnpackAlignment - 1) / g_nUnpackAlignment * g_nUnpackAlignment;
    for (std::size_t i = 0; nHeight > 0 && i < nStride * std::size_t(nHeight - 1) + nRow; ++i)
        g_uSink = g_uSink + static_cast<const unsigned char*>(pPixels)[i];
}

}  // extern "C"
