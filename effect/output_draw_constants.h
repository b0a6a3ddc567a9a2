#pragma once
// What an output effect hands the drawing layer for one draw: the constant blocks the
// built-in drawing shaders read (their byte layout is fixed by those shaders), the state
// list entries to bind, and which of the three drawing paths an object takes. Pure numbers,
// so the decisions are made and tested here and the drawing layer only uploads and binds.
#include <cstddef>
#include <cstdint>
#include <span>

#include "effect/output_view.h"
#include "system/xmath.h"

namespace Effect::OutputDraw {

// The object constants, vertex and pixel shader slot 0.
struct ObjectConstants {
  XMath::Matrix worldViewTransposed;  // world x view, columns of the row-vector matrix
  float opacity = 1.0f;
  int32_t blendMode = 0;
  uint8_t unused0[8] = {};
  XMath::Matrix worldInverse;  // read as the normal matrix; lit path only
  float glossiness = 0.0f;     // lit path only
  uint8_t unused1[12] = {};
};
static_assert(sizeof(ObjectConstants) == 160 && offsetof(ObjectConstants, opacity) == 64 &&
              offsetof(ObjectConstants, worldInverse) == 80 &&
              offsetof(ObjectConstants, glossiness) == 144);

// The direct path's constants, pixel shader slot 0: {opacity, dx, dy} for a straight copy,
// {blend, opacity, dx, dy} for the blend shader.
struct Draw2DConstants {
  uint8_t bytes[16] = {};
};

// One light of the camera's lighting composition.
struct LightRecord {
  int32_t kind = 0;  // 0 ambient
  float data[3] = {};
  float color[3] = {};
  float factor = 0.0f;
};
static_assert(sizeof(LightRecord) == 32);

inline constexpr int kMaxLights = 8;

struct LightConstants {
  LightRecord lights[kMaxLights] = {};
  int32_t count = 0;
  float ambient[3] = {};
};
static_assert(sizeof(LightConstants) == 272);

struct ScreenQuadVertex {
  float position[3] = {};
  float ray[3] = {};
  uint8_t unused[16] = {};
};
static_assert(sizeof(ScreenQuadVertex) == 40);

// The standard path's three ways: lit (a camera and lights: five auxiliary buffers and
// order-independent transparency), depth (a camera without lights: three auxiliary
// buffers), plain (no camera).
enum class DrawPath { Lit, Depth, Plain };
DrawPath chooseDrawPath(bool underCamera, std::size_t lightCount);

// The blend mode the standard path draws with: modes 20 and above (script modes that need
// a blend state of their own) draw straight, the rest clamped to 0..23.
int standardBlendMode(int blendMode);
// The blend state list entry a vertex list draws with: 17 for modes 20 and above, else 0.
int vertexListBlendEntry(int blendMode);

// The state list entries an object draw binds.
struct StateEntries {
  int sampler = 0;
  int blend = 0;
  int rasterizer = 0;
};
// The view's sampler override (-1: none; then entry 1 for a custom vertex list, else 0),
// blend entry 0, rasterizer entry 1 with culling, else 0.
StateEntries chooseStates(int samplerOverride, bool culling, bool customVertexList);

// Object constants of the standard path. With `lit` also the inverse world matrix and the
// view's glossiness.
ObjectConstants makeObjectConstants(const XMath::Matrix& world, const XMath::Matrix& view,
                                    float opacity, int blendMode, bool lit, float glossiness);

// The image offset of the direct path: half the size difference of image and frame plus
// centre minus position, rounded to the nearest pixel with halves away from zero.
struct Offset2D {
  int32_t dx = 0;
  int32_t dy = 0;
};
Offset2D offset2D(int imageWidth, int imageHeight, int frameWidth, int frameHeight,
                  const OutputView& placement);
Draw2DConstants makeDraw2DConstants(float opacity, int blendMode, Offset2D offset);

// The first eight lights, their count, and the ambient colour: the sum of the ambient
// lights' colours plus, per channel, the product of every used light's factor (1 with no
// light).
LightConstants makeLightConstants(std::span<const LightRecord> lights);

// The full-screen quad (-1, 1), (1, 1), (-1, -1), (1, -1) with the corner rays, given in
// the order top-left, top-right, bottom-right, bottom-left.
struct ScreenQuad {
  ScreenQuadVertex vertices[4];
};
ScreenQuad makeScreenQuad(const XMath::Vector (&rays)[4]);

// Billboard mode 3: the rotation that turns an object to face a camera whose eye lies at
// `eye`; the world matrix is multiplied by it on the left.
XMath::Matrix billboardRotation(const XMath::Vector& eye);

}  // namespace Effect::OutputDraw
