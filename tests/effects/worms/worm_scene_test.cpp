// The worm scene on Mesa: where drawWorm puts a worm's head, and what a run clears and writes.
#include "effects/worms/worm_scene.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>

#include "base/demo_clock.h"
#include "effects/common/scene_flash.h"
#include "effects/worms/worm_resources.h"
#include "render/gl_state.h"
#include "render/render_destinations.h"
#include "render/render_target.h"
#include "render/shader_library.h"
#include "scene/scene_node.h"
#include "tests/support/gl_context.h"

namespace {

constexpr int width = 320, height = 180;

// A green octahedron of radius 3, 10 units up the head's axis: the head's stand-in, seen from any
// side, showing where the head points.
std::unique_ptr<SceneNode> marker() {
    auto node = std::make_unique<SceneNode>();
    node->kind = MeshNode;
    node->mesh = std::make_unique<Mesh>();
    Mesh& mesh = *node->mesh;
    mesh.positions = {3, 10, 0, -3, 10, 0, 0, 13, 0, 0, 7, 0, 0, 10, 3, 0, 10, -3};
    mesh.positionIndices = {0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0, 4, 2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3, 5};
    mesh.positionCount = 6;
    mesh.triangleCount = 8;
    const int index = addBuiltInMaterial("void main() { gl_Position = ftransform(); }",
                                         "void main() { gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0); }");
    mesh.material = shaderLibrary.materials[static_cast<std::size_t>(index)].get();
    return node;
}

struct Point {
    float x, y, z;
};

// Pixel (from the top) where the world point lands under the current camera.
void project(Point p, int& x, int& yFromTop) {
    double modelview[16], projection[16], wx, wy, wz;
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(p.x, p.y, p.z, modelview, projection, viewport, &wx, &wy, &wz);
    x = static_cast<int>(wx);
    yFromTop = height - 1 - static_cast<int>(wy);
}

TEST(WormScene, TheHeadRidesTheArchTurnedByTheHeading) {
    ASSERT_TRUE(requireShaderLibrary());
    const std::unique_ptr<SceneNode> head = marker();
    wormheadScene = head.get();
    wormScene = nullptr;  // the body stays out of the picture

    struct Row {
        float h, heading;
        Point expected;
        const char* what;
    };
    // A worm based at (10, -5, -20), 30 high, reaching 40; the head points the way it travels.
    const Row rows[] = {
        {0, 0, {10, 5, -20}, "at the base point, pointing up"},
        {0.5f, 0, {10, 25, -50}, "at the top, half the reach back along -z, pointing along -z"},
        {1, 0, {10, -15, -60}, "at the far end, pointing down"},
        {0.5f, 90, {-20, 25, -20}, "turned: half the reach along -x, pointing along -x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        renderDestinations.fieldOfView = 70;
        bindFakeWindow(width, height);
        setClearColor(0, 0, 0);
        clearBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        disableCap(GL_DEPTH_TEST);
        setCullMode(CullMode::Off);
        setCamera(0, 10, 150, 0, 10, 0, 0, 1, 0);
        drawWorm(row.h, 0, 10, -20, 30, 40, row.heading);
        for (const Row& other : rows) {
            int x = 0, y = 0;
            project(other.expected, x, y);
            const bool here = other.expected.x == row.expected.x && other.expected.y == row.expected.y &&
                              other.expected.z == row.expected.z;
            EXPECT_EQ(pixelAt(x, y, height), here ? (Rgba{0, 255, 0, 255}) : (Rgba{0, 0, 0, 255}))
                << "looking where the head " << (here ? "should be" : "should not be") << ": " << other.what;
        }
    }
    enableCap(GL_DEPTH_TEST);
    wormheadScene = nullptr;
}

TEST(WormScene, OffScreenRunsClearToBlackTheScreenRunOnlyItsDepth) {
    ASSERT_TRUE(requireShaderLibrary());
    demoClock.musicMs = 101600;
    sceneFlashes.sceneFlash = 0;
    struct Row {
        int target;
        Rgba after;
    };
    const Row rows[] = {{sceneTarget, {0, 0, 0, 255}}, {focusTarget, {0, 0, 0, 255}}, {screenTarget, {255, 0, 0, 255}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target);
        bindRenderTarget(row.target);
        glClearColor(1, 0, 0, 1);
        glClearDepth(0.5);
        clearBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearDepth(1);
        renderDestinations.fieldOfView = 90;

        drawWormScene(row.target, SceneRun::Drawn);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const int x = viewport[0] + viewport[2] / 2, y = viewport[1] + viewport[3] / 2;
        unsigned char colour[4] = {};
        float depth = 0;
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, colour);
        glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_EQ((Rgba{colour[0], colour[1], colour[2], colour[3]}), row.after);
        EXPECT_EQ(depth, 1.0f);
        // The run's camera at the slot's first moment.
        EXPECT_EQ(renderDestinations.fieldOfView, 70);
        EXPECT_NEAR(wormEye[0], -10, 1e-4f);
        EXPECT_EQ(wormEye[1], 10);
        EXPECT_EQ(wormEye[2], 0);
    }
}

}  // namespace
