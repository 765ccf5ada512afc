// Letterboxing and full-screen quads.
#include "render/screen_pass.h"

#include <GL/glew.h>

#include "base/window_size.h"
#include "render/render_destinations.h"
#include "render/render_target.h"

namespace {

struct Scales {
    float x, y;
};

// How much of the window's width and height the centred area of the aspect takes.
Scales letterboxScales(int windowWidth, int windowHeight, float aspect) {
    const float windowAspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
    if (aspect < windowAspect) return {aspect / windowAspect, 1.0f};
    return {1.0f, windowAspect / aspect};
}

void orthoOver(int width, int height) {
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void quad(int left, int top, int right, int bottom) {
    glVertex2i(left, top);
    glVertex2i(right, top);
    glVertex2i(right, bottom);
    glVertex2i(left, bottom);
}

}  // namespace

ScreenRect letterboxRect(int windowWidth, int windowHeight, float aspect) {
    if (windowWidth <= 0 || windowHeight <= 0) return {0, 0, 0, 0};  // a minimised window
    const Scales scales = letterboxScales(windowWidth, windowHeight, aspect);
    const int width = static_cast<int>(windowWidth * scales.x);
    const int height = static_cast<int>(windowHeight * scales.y);
    return {(windowWidth - width) / 2, (windowHeight - height) / 2, width, height};
}

void letterboxViewport(float aspect) {
    const ScreenRect rect = letterboxRect(windowSize.windowWidth, windowSize.windowHeight, aspect);
    glViewport(rect.x, rect.y, rect.width, rect.height);
}

void drawFullscreenQuad(TextureRows rows) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    int width = windowSize.windowWidth, height = windowSize.windowHeight;
    const int index = renderDestinations.currentTarget;
    if (index >= 0 && index < renderTargets.count) {
        width = renderTargets.targets[index].width;
        height = renderTargets.targets[index].height;
        glViewport(0, 0, width, height);
    } else {
        letterboxViewport(frameAspect);
    }
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    orthoOver(width, height);

    const float top = rows == TextureRows::BottomFirst ? 1.0f : 0.0f;
    const float bottom = 1.0f - top;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, top);
    glVertex2i(0, 0);
    glTexCoord2f(1.0f, top);
    glVertex2i(width, 0);
    glTexCoord2f(1.0f, bottom);
    glVertex2i(width, height);
    glTexCoord2f(0.0f, bottom);
    glVertex2i(0, height);
    glEnd();
}

void drawLetterboxBars(float aspect) {
    const int width = windowSize.windowWidth, height = windowSize.windowHeight;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, width, height);
    orthoOver(width, height);
    const ScreenRect inside = letterboxRect(width, height, aspect);
    const int barWidth = (width - inside.width) / 2;
    const int barHeight = (height - inside.height) / 2;
    glBegin(GL_QUADS);
    quad(0, 0, barWidth, height);
    quad(width - barWidth, 0, width, height);
    quad(0, 0, width, barHeight);
    quad(0, height - barHeight, width, height);
    glEnd();
}
