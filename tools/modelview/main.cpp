// modelview MODEL SKIN OUT.png [ANGLE...]: draws the model with its skin as
// the scene does (same camera, matrices and state) off-screen with OSMesa, one
// 320 x 240 picture per spin angle side by side, and writes a PNG.
#include <GL/osmesa.h>
#include <GL/glu.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "assets/Md3Model.h"
#include "assets/TgaTexture.h"

namespace {

const int kWidth = 320, kHeight = 240;

void DrawScene(Md3Model& model, GLuint uSkin, float fAngle) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    float f = static_cast<float>(std::fmod(fAngle * 0.0027777778f, 1.0));
    glTranslatef(f, f, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, -20, -80);
    glRotatef(-90, 1, 0, 0);
    glRotatef(90, 0, 0, 1);
    glRotatef(fAngle, 0, 0, 1);
    glScalef(2.15f, 2.15f, 2.15f);
    glBindTexture(GL_TEXTURE_2D, uSkin);
    model.Draw(0);
    glFinish();
}

bool WritePng(const char* path, const std::vector<unsigned char>& rgba, int width, int height) {
    std::FILE* pFile = std::fopen(path, "wb");
    if (pFile == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, pFile);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = height - 1; y >= 0; --y)  // GL rows run bottom-up
        png_write_row(png, const_cast<png_bytep>(&rgba[static_cast<std::size_t>(y) * width * 4]));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(pFile) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: modelview MODEL SKIN OUT.png [ANGLE...]\n");
        return 2;
    }
    std::vector<float> angles;
    for (int i = 4; i < argc; ++i) angles.push_back(static_cast<float>(std::atof(argv[i])));
    if (angles.empty()) angles = {0, 60, 120, 200};
    const int nTotalWidth = kWidth * static_cast<int>(angles.size());
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
    std::vector<unsigned char> frame(static_cast<std::size_t>(kWidth) * kHeight * 4);
    if (context == nullptr || !OSMesaMakeCurrent(context, frame.data(), GL_UNSIGNED_BYTE, kWidth, kHeight)) {
        std::fprintf(stderr, "modelview: no OSMesa context\n");
        return 1;
    }
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glClearColor(0, 0, 0, 1);
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, static_cast<double>(kWidth) / kHeight, 1.0, 9999.900390625);
    Md3Model model;
    TgaTexture skin;
    GLuint uSkin = 0;
    glGenTextures(1, &uSkin);
    if (!model.Load(argv[1]) || !skin.LoadAndUpload(argv[2], uSkin, 0, 0)) {
        std::fprintf(stderr, "modelview: cannot load %s or %s (status %d)\n", argv[1], argv[2], skin.m_nStatus);
        return 1;
    }
    std::vector<unsigned char> strip(static_cast<std::size_t>(nTotalWidth) * kHeight * 4);
    for (std::size_t n = 0; n < angles.size(); ++n) {
        DrawScene(model, uSkin, angles[n]);
        for (int y = 0; y < kHeight; ++y)
            std::copy(&frame[static_cast<std::size_t>(y) * kWidth * 4], &frame[static_cast<std::size_t>(y + 1) * kWidth * 4],
                      &strip[(static_cast<std::size_t>(y) * nTotalWidth + n * kWidth) * 4]);
    }
    OSMesaDestroyContext(context);
    return WritePng(argv[3], strip, nTotalWidth, kHeight) ? 0 : 1;
}
