// Render targets: creation once at start-up, binding every pass.
#include "render/render_target.h"

#include <GL/glew.h>

#include "base/print_line.h"
#include "base/window_size.h"
#include "render/gl_state.h"
#include "render/render_destinations.h"
#include "render/screen_pass.h"
#include "render/texture_registry.h"

RenderTargetTable renderTargets;

namespace {

const RenderTarget* findTarget(int index) {
    if (index < 0 || index >= renderTargets.count) return nullptr;
    return &renderTargets.targets[index];
}

}  // namespace

int createRenderTarget(int width, int height, bool textureOnly) {
    if (renderTargets.count >= maxRenderTargets) {
        printLine("Render target %dx%d refused: all %d targets are in use.", width, height, maxRenderTargets);
        return -1;
    }
    RenderTarget target{};
    target.textureIndex = -1;
    if (textureOnly) {
        target.textureIndex = createEmptyTexture(width, height);
        target.textureOnly = true;
    } else {
        // Error flags are cleared, not examined: completeness is the driver's business here.
        glGetError();
        glGenFramebuffersEXT(1, &target.framebuffer);
        glGetError();
        glGenRenderbuffersEXT(1, &target.depthBuffer);
        glGetError();
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, target.depthBuffer);
        glGetError();
        glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
        glGetError();
        glGenTextures(1, &target.colourTexture);
        glBindTexture(GL_TEXTURE_2D, target.colourTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, width, height, 0, GL_RGB, GL_UNSIGNED_SHORT, nullptr);
        // A target that cannot be drawn into would leave its passes silently empty: say so.
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, target.colourTexture, 0);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                     target.depthBuffer);
        const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        if (status != GL_FRAMEBUFFER_COMPLETE_EXT)
            printLine("Render target %d (%dx%d) is not complete (framebuffer status 0x%x); what is drawn into it is lost.",
                      renderTargets.count, width, height, status);
    }
    target.width = width;
    target.height = height;
    renderTargets.targets[renderTargets.count] = target;
    return renderTargets.count++;
}

void createSharedRenderTargets() {
    createRenderTarget(512, 512, false);  // sceneTarget
    createRenderTarget(512, 512, false);  // blurTargetH
    createRenderTarget(512, 512, false);  // blurTargetV
    createRenderTarget(windowSize.windowWidth, windowSize.windowHeight, false);  // focusTarget
    for (int i = 0; i < spareTargetCount; ++i) createRenderTarget(512, 512, true);
}

void bindRenderTarget(int index) {
    renderDestinations.currentTarget = index;
    const RenderTarget* target = findTarget(index);
    if (target == nullptr || target->textureOnly) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    } else {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target->framebuffer);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                  target->colourTexture, 0);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                     target->depthBuffer);
    }
    setTargetViewport(index);
}

void setTargetViewport(int index) {
    setPerspective(renderDestinations.fieldOfView, frameAspect, 0.2f, 1000.0f);
    const RenderTarget* target = findTarget(index);
    if (target != nullptr)
        glViewport(0, 0, target->width, target->height);
    else
        letterboxViewport(frameAspect);  // the screen, and any index that names no target
    resetModelview();
}

unsigned renderTargetTexture(int index) {
    const RenderTarget* target = findTarget(index);
    return target != nullptr && !target->textureOnly ? target->colourTexture : 0;
}
