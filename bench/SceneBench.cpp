// Cost of the scene: one frame (motion update and drawing, with and without the
// trail) into a real Mesa off-screen buffer, and the set-up that loads the
// model and the skin.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdint>
#include <string>

#include "assets/Md3Model.h"
#include "assets/TgaTexture.h"
#include "scene/Scene.h"
#include "scene/TempDirectory.h"
#include "support/FakeSeams.h"
#include "support/OffscreenGL.h"

namespace {

// Frames 31 ms apart at 1 oscillation and 0.6 revolutions a second, as the
// saver's timer would paint them; glFinish makes Mesa's work part of the time.
void BM_Frame(benchmark::State& state) {
    const int nWidth = static_cast<int>(state.range(0));
    const int nHeight = static_cast<int>(state.range(1));
    const int bMotionBlur = static_cast<int>(state.range(2));
    OffscreenGL gl(nWidth, nHeight);
    if (!gl.IsCurrent()) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    InitScene();
    ResizeScene(nWidth, nHeight);
    std::uint32_t uNow = 0;
    for (auto _ : state) {
        uNow += 31;
        fakescene::SetClock(uNow);
        UpdateMotion(0.0, 1.0f, 0.6f);
        RenderScene(bMotionBlur);
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                               benchmark::Counter::kIsRate);
    ReleaseScene();
}
BENCHMARK(BM_Frame)
    ->ArgNames({"width", "height", "blur"})
    ->Args({1920, 1080, 0})->Args({1920, 1080, 1})
    ->Args({1024, 768, 0})->Args({1024, 768, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// Loading the model file as InitScene does.
void BM_LoadModel(benchmark::State& state) {
    Md3Model extractor;
    extractor.ExtractResourceToTemp("#144", "TarsolinResMD3.MD3");
    const std::string strPath = ReadTempDirectory() + "TarsolinResMD3.MD3";
    for (auto _ : state) {
        Md3Model model;
        benchmark::DoNotOptimize(model.Load(strPath.c_str()));
    }
}
BENCHMARK(BM_LoadModel)->Unit(benchmark::kMicrosecond);

// Loading and uploading the skin into a texture of a real context.
void BM_LoadAndUploadSkin(benchmark::State& state) {
    OffscreenGL gl(16, 16);
    if (!gl.IsCurrent()) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    TgaTexture skin;
    skin.ExtractResourceToTemp("#143", "TarsolinResTGA.TGA");
    const std::string strPath = ReadTempDirectory() + "TarsolinResTGA.TGA";
    GLuint uTexture = 0;
    glGenTextures(1, &uTexture);
    for (auto _ : state) {
        benchmark::DoNotOptimize(skin.LoadAndUpload(strPath.c_str(), uTexture, 0, 0));
        glFinish();
    }
    glDeleteTextures(1, &uTexture);
}
BENCHMARK(BM_LoadAndUploadSkin)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
