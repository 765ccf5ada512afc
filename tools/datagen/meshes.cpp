// Mesh builders: every vertex carries its own normal and texture coordinate, and every triangle
// is wound to agree with its normals.
#include "tools/datagen/meshes.h"

#include <cmath>

namespace {
constexpr float pi = 3.14159265358979f;
}

float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

float length(Vec3 a) { return std::sqrt(dot(a, a)); }

Vec3 normalize(Vec3 a) {
    const float l = length(a);
    return l > 0.0f ? a * (1.0f / l) : a;
}

Vec3 rotate(Vec3 v, Vec3 axis, float radians) {
    const float c = std::cos(radians), s = std::sin(radians);
    return v * c + cross(axis, v) * s + axis * (dot(axis, v) * (1.0f - c));
}

int MeshData::addVertex(Vec3 position, Vec3 normal, Vec2 uv) {
    positions.push_back(position);
    normals.push_back(normalize(normal));
    uvs.push_back(uv);
    return static_cast<int>(positions.size()) - 1;
}

void MeshData::addTriangle(int a, int b, int c) {
    const Vec3 edge1 = positions[b] - positions[a], edge2 = positions[c] - positions[a];
    const Vec3 face = cross(edge1, edge2);
    // Relative to the triangle's size, so that the collapsed quads at poles count as having no area.
    if (length(face) <= 1e-6f * (dot(edge1, edge1) + dot(edge2, edge2))) return;
    const Vec3 facing = normals[a] + normals[b] + normals[c];
    if (dot(face, facing) >= 0.0f)
        triangles.push_back({a, b, c});
    else
        triangles.push_back({a, c, b});
}

void MeshData::append(const MeshData& other) {
    const int base = static_cast<int>(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (const auto& t : other.triangles) triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

namespace {

// Outward normal of a profile segment in the (radius, axial) plane.
Vec2 segmentNormal(const ProfilePoint& a, const ProfilePoint& b) {
    const float dr = b.radius - a.radius, da = b.axial - a.axial;
    const float l = std::sqrt(dr * dr + da * da);
    return l > 0.0f ? Vec2{da / l, -dr / l} : Vec2{0.0f, 0.0f};
}

// The profile as rings of (point, normal, distance along the profile); a crease gives two rings.
struct Ring {
    ProfilePoint point;
    Vec2 normal;  // (radial, axial)
    float along;
    bool joinsNext;  // a band of quads runs from this ring to the next
};

std::vector<Ring> profileRings(const std::vector<ProfilePoint>& profile) {
    std::vector<Ring> rings;
    const std::size_t n = profile.size();
    float along = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) {
            const float dr = profile[i].radius - profile[i - 1].radius;
            const float da = profile[i].axial - profile[i - 1].axial;
            along += std::sqrt(dr * dr + da * da);
        }
        const Vec2 before = i > 0 ? segmentNormal(profile[i - 1], profile[i]) : Vec2{0, 0};
        const Vec2 after = i + 1 < n ? segmentNormal(profile[i], profile[i + 1]) : Vec2{0, 0};
        if (profile[i].crease && i > 0 && i + 1 < n) {
            rings.push_back({profile[i], before, along, false});
            rings.push_back({profile[i], after, along, true});
        } else {
            Vec2 sum{before.x + after.x, before.y + after.y};
            const float l = std::sqrt(sum.x * sum.x + sum.y * sum.y);
            if (l > 0.0f) sum = {sum.x / l, sum.y / l};
            rings.push_back({profile[i], sum, along, i + 1 < n});
        }
    }
    for (Ring& r : rings) r.along /= (along > 0.0f ? along : 1.0f);
    return rings;
}

}  // namespace

void addLathe(MeshData& mesh, const std::vector<ProfilePoint>& profile, const LatheFrame& frame, int segmentsAround,
              Vec2 uvScale) {
    const std::vector<Ring> rings = profileRings(profile);
    std::vector<int> firstVertex;
    for (const Ring& ring : rings) {
        firstVertex.push_back(static_cast<int>(mesh.positions.size()));
        for (int i = 0; i <= segmentsAround; ++i) {
            const float angle = 2.0f * pi * static_cast<float>(i) / static_cast<float>(segmentsAround);
            const float c = std::cos(angle), s = std::sin(angle);
            const Vec3 radial = frame.side * (c * frame.sideScale) + frame.up * (s * frame.upScale);
            // Normals of a stretched cross-section lean by the inverse of the stretch.
            const Vec3 radialNormal = normalize(frame.side * (c / frame.sideScale) + frame.up * (s / frame.upScale));
            const Vec3 position = frame.origin + frame.axis * ring.point.axial + radial * ring.point.radius;
            const Vec3 normal = radialNormal * ring.normal.x + frame.axis * ring.normal.y;
            mesh.addVertex(
                position, normal,
                {uvScale.x * static_cast<float>(i) / static_cast<float>(segmentsAround), uvScale.y * ring.along});
        }
    }
    for (std::size_t r = 0; r + 1 < rings.size(); ++r) {
        if (!rings[r].joinsNext) continue;
        for (int i = 0; i < segmentsAround; ++i) {
            const int a = firstVertex[r] + i, b = a + 1;
            const int c = firstVertex[r + 1] + i + 1, d = firstVertex[r + 1] + i;
            mesh.addTriangle(a, b, c);
            mesh.addTriangle(a, c, d);
        }
    }
}

void addSphere(MeshData& mesh, Vec3 centre, float radius, int segmentsAround, int segmentsAlong, Vec2 uvScale,
               bool inward) {
    const int first = static_cast<int>(mesh.positions.size());
    for (int j = 0; j <= segmentsAlong; ++j) {
        const float polar = pi * static_cast<float>(j) / static_cast<float>(segmentsAlong);
        for (int i = 0; i <= segmentsAround; ++i) {
            const float angle = 2.0f * pi * static_cast<float>(i) / static_cast<float>(segmentsAround);
            // From the top (t = 0 of the texture) down.
            const Vec3 direction{std::sin(polar) * std::cos(angle), std::cos(polar), std::sin(polar) * std::sin(angle)};
            mesh.addVertex(centre + direction * radius, inward ? direction * -1.0f : direction,
                           {uvScale.x * static_cast<float>(i) / static_cast<float>(segmentsAround),
                            uvScale.y * static_cast<float>(j) / static_cast<float>(segmentsAlong)});
        }
    }
    const int row = segmentsAround + 1;
    for (int j = 0; j < segmentsAlong; ++j) {
        for (int i = 0; i < segmentsAround; ++i) {
            const int a = first + j * row + i, b = a + 1, c = a + row + 1, d = a + row;
            mesh.addTriangle(a, b, c);
            mesh.addTriangle(a, c, d);
        }
    }
}

void addPatch(MeshData& mesh, const std::function<Vec3(float u, float v)>& point, int segmentsU, int segmentsV,
              Vec2 uvScale, Vec3 outwardHint) {
    constexpr float step = 1e-3f;
    // Derivatives a little inside the patch, where a degenerate edge still has a tangent plane.
    auto normalAt = [&](float u, float v) {
        const float uc = std::fmin(std::fmax(u, 2.0f * step), 1.0f - 2.0f * step);
        const float vc = std::fmin(std::fmax(v, 2.0f * step), 1.0f - 2.0f * step);
        const Vec3 du = point(uc + step, vc) - point(uc - step, vc);
        const Vec3 dv = point(uc, vc + step) - point(uc, vc - step);
        return normalize(cross(du, dv));
    };
    const float sign = dot(normalAt(0.5f, 0.5f), outwardHint) < 0.0f ? -1.0f : 1.0f;
    const int first = static_cast<int>(mesh.positions.size());
    for (int j = 0; j <= segmentsV; ++j) {
        for (int i = 0; i <= segmentsU; ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(segmentsU);
            const float v = static_cast<float>(j) / static_cast<float>(segmentsV);
            mesh.addVertex(point(u, v), normalAt(u, v) * sign, {u * uvScale.x, v * uvScale.y});
        }
    }
    const int row = segmentsU + 1;
    for (int j = 0; j < segmentsV; ++j) {
        for (int i = 0; i < segmentsU; ++i) {
            const int a = first + j * row + i, b = a + 1, c = a + row + 1, d = a + row;
            mesh.addTriangle(a, b, c);
            mesh.addTriangle(a, c, d);
        }
    }
}

void addBox(MeshData& mesh, Vec3 centre, Vec3 axisX, Vec3 axisY, Vec3 axisZ, Vec3 halfSize, float uvPerUnit) {
    const Vec3 axes[3] = {axisX, axisY, axisZ};
    const float half[3] = {halfSize.x, halfSize.y, halfSize.z};
    for (int face = 0; face < 6; ++face) {
        const int k = face / 2;
        const float side = face % 2 == 0 ? 1.0f : -1.0f;
        const Vec3 normal = axes[k] * side;
        const Vec3 u = axes[(k + 1) % 3] * half[(k + 1) % 3];
        const Vec3 v = axes[(k + 2) % 3] * half[(k + 2) % 3];
        const Vec3 c = centre + normal * half[k];
        const float su = 2.0f * half[(k + 1) % 3] * uvPerUnit, sv = 2.0f * half[(k + 2) % 3] * uvPerUnit;
        const int a = mesh.addVertex(c - u - v, normal, {0, 0});
        const int b = mesh.addVertex(c + u - v, normal, {su, 0});
        const int d = mesh.addVertex(c + u + v, normal, {su, sv});
        const int e = mesh.addVertex(c - u + v, normal, {0, sv});
        mesh.addTriangle(a, b, d);
        mesh.addTriangle(a, d, e);
    }
}
