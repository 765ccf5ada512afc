// Start-up of the shader library: the shared render targets, then the eight built-in materials
// with their slots.
#include "render/builtin_shaders.h"
#include "render/render_target.h"
#include "render/shader_library.h"

void initShaderLibrary() {
    createSharedRenderTargets();

    for (const ShaderSources& sources : builtInShaderSources) addBuiltInMaterial(sources.vertex, sources.fragment);
    for (int i = TexturedAlpha; i < ScrolledTexture; ++i) builtInMaterial(static_cast<BuiltInMaterial>(i)).depthTest = 0;

    // Slot order fixes the texture units: each built-in has at most one texture, on unit 0.
    Material& texturedAlpha = builtInMaterial(TexturedAlpha);
    texturedAlpha.addTexture(0, "tex");
    texturedAlpha.addUniform(1, 0, 0, 0, "alpha");
    Material& gradient = builtInMaterial(Gradient);
    gradient.addUniform(0, 0, 0, 0, "background_color1");
    gradient.addUniform(1, 1, 1, 0, "background_color2");
    Material& sprite = builtInMaterial(Sprite);
    sprite.addUniform(1, 0, 0, 0, "radius");
    sprite.addTexture(0, "texture");
    Material& blurMask = builtInMaterial(BlurMask);
    blurMask.addTexture(0, "tex");
    blurMask.addUniform(0.01f, 0, 0, 0, "blur");
    Material& texturedDim = builtInMaterial(TexturedDim);
    texturedDim.addTexture(0, "tex");
    texturedDim.addUniform(0.01f, 0, 0, 0, "alpha");
    Material& scrolled = builtInMaterial(ScrolledTexture);
    scrolled.addTexture(0, "tex");
    scrolled.addUniform(1, 0, 0, 0, "alpha");
    scrolled.addUniform(1, 1, 0, 0, "uvShift");
}
