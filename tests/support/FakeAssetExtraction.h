// Native stand-ins for the Windows-only resource extraction of Md3Model and
// TgaTexture: "#144" and "#143" copy the committed res/ferrovane.md3 and
// res/ferrovane.tga into the (fake) temporary directory under the given name;
// any other name is a missing resource (0, nothing written).
#pragma once

#include <string>
#include <vector>

namespace fakescene {

// One entry per call since the last ResetExtractions(), such as
// "Md3Model::ExtractResourceToTemp(#144, TarsolinResMD3.MD3)".
const std::vector<std::string>& Extractions();
void ResetExtractions();

}  // namespace fakescene
