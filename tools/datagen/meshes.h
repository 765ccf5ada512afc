// Procedural meshes of the data set: the vector type, the mesh record the scene writer takes,
// and the builders the scenes are made of (surfaces of revolution, parametric patches, boxes).
#pragma once

#include <array>
#include <functional>
#include <vector>

struct Vec2 {
    float x, y;
};

struct Vec3 {
    float x, y, z;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(float s, Vec3 a) { return a * s; }
float dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
float length(Vec3 a);
Vec3 normalize(Vec3 a);  // the zero vector stays zero

// Rotation of v about a unit axis by an angle in radians (right-handed).
Vec3 rotate(Vec3 v, Vec3 axis, float radians);

// One index per corner addresses the same entry of all three arrays.
struct MeshData {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<Vec2> uvs;  // GL texture coordinates: t = 0 is the top row of the image
    std::vector<std::array<int, 3>> triangles;

    int addVertex(Vec3 position, Vec3 normal, Vec2 uv);

    // Wound counter-clockwise as seen from the side its vertex normals point to, so back-face
    // culling keeps the side the normals face. Triangles without area are left out.
    void addTriangle(int a, int b, int c);

    void append(const MeshData& other);
};

// A point of a surface of revolution: distance from the axis and position along it. The profile
// runs from the axis at its start, outwards and along, so its normals face away from the inside.
// A crease gives the point separate normals on its two sides.
struct ProfilePoint {
    float radius;
    float axial;
    bool crease = false;
};

struct LatheFrame {
    Vec3 origin{0, 0, 0};
    Vec3 axis{0, 1, 0};
    Vec3 side{1, 0, 0};  // with up: the plane of the cross-section, both unit and perpendicular to axis
    Vec3 up{0, 0, 1};
    float sideScale = 1.0f;  // elliptical cross-sections
    float upScale = 1.0f;
};

void addLathe(MeshData& mesh, const std::vector<ProfilePoint>& profile, const LatheFrame& frame, int segmentsAround,
              Vec2 uvScale);

// A sphere around a centre with exact normals; inward turns the faces (and normals) to the centre.
void addSphere(MeshData& mesh, Vec3 centre, float radius, int segmentsAround, int segmentsAlong, Vec2 uvScale,
               bool inward = false);

// A patch point(u, v) over [0, 1] x [0, 1] on a grid of segmentsU x segmentsV cells. Normals come
// from the surface's derivatives and are turned to face along outwardHint at the patch centre.
void addPatch(MeshData& mesh, const std::function<Vec3(float u, float v)>& point, int segmentsU, int segmentsV,
              Vec2 uvScale, Vec3 outwardHint);

// A box with flat faces: centre, three perpendicular unit axes and the half sizes along them.
void addBox(MeshData& mesh, Vec3 centre, Vec3 axisX, Vec3 axisY, Vec3 axisZ, Vec3 halfSize, float uvPerUnit);
