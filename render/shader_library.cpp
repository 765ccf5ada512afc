// Start of the shader library.
#include "render/shader_library.h"

#include "app/demo_state.h"
#include "render/render_target.h"

void initShaderLibrary() {
    createRenderTarget(512, 512, false);  // sceneTarget
    createRenderTarget(512, 512, false);  // blurTargetH
    createRenderTarget(512, 512, false);  // blurTargetV
    createRenderTarget(demoState.windowWidth, demoState.windowHeight, false);  // focusTarget
    for (int i = 0; i < spareTargetCount; ++i) createRenderTarget(512, 512, true);
}
