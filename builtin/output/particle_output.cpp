#include "builtin/output/particle_output.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <optional>

#include "builtin/choice_lists.h"
#include "builtin/input/figure_load.h"
#include "builtin/item_links.h"
#include "builtin/movement/random_move.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_service.h"
#include "effect/output_effect_base.h"
#include "effect/output_video_drawer.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/vertex_list.h"
#include "system/xmath.h"

namespace Effect {

ParticleOutput::ParticleOutput()
    : MoveEffect(kName, EffectType::Output, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -100000.0, 100000.0, 0.01),
      y(items, "Y", 0.0, -100000.0, 100000.0, 0.01),
      z(items, "Z", 0.0, -100000.0, 100000.0, 0.01),
      frequency(items, "出力頻度", 20.0, 0.0, 500.0, 0.1),
      speed(items, "出力速度", 400.0, 0.0, 20000.0, 0.1),
      acceleration(items, "加速度", 0.0, -20000.0, 20000.0, 0.1),
      direction(items, "出力方向", 0.0, -3600.0, 3600.0, 0.01),
      spread(items, "拡散角度", 30.0, 0.0, 360.0, 0.01),
      transparency(items, "透過率", 0.0, 0.0, 100.0, 0.01),
      transparencySpeed(items, "透過速度", 0.0, -200.0, 200.0, 0.01),
      zoom(items, "拡大率", 100.0, 0.0, 10000.0, 0.001),
      zoomSpeed(items, "拡大速度", 0.0, -1000.0, 1000.0, 0.001),
      rotation(items, "回転角", 0.0, -3600.0, 3600.0, 0.01),
      rotationSpeed(items, "回転速度", 0.0, -10.0, 10.0, 0.01),
      gravity(items, "重力", 0.0, -2000.0, 2000.0, 0.01),
      lifetime(items, "生存時間", 0.0, 0.0, 600.0, 0.1),
      randomPlace(items, "移動範囲の座標からランダムに出力", false),
      directionAlongPath(items, "出力方向の基準を移動方向にする", false),
      rotationAlongPath(items, "回転角の基準を移動方向にする", false),
      randomRotation3D(items, "3Dランダム回転", false),
      blendMode(items, "合成モード", 0, BlendModeList()) {
  linkItems(positionItems, {&x, &y, &z});
}

std::shared_ptr<EffectBase> ParticleOutput::create() const {
  return std::make_shared<ParticleOutput>();
}

const EffectDefine* ParticleOutput::getDefaultInputEffect() const {
  const EffectService* registry = EffectService::instance();
  return registry ? registry->findEffect(FigureLoad::kName) : nullptr;
}

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// The opacity factor of particles that start transparent: the float nearest 0.999999 (bit
// pattern 0x3F7FFFEF).
constexpr float kAlmostOpaque = std::bit_cast<float>(0x3F7FFFEFu);
// The most draws one particle makes: the spread, the place, and four for a 3-D turn.
constexpr std::size_t kMaxDraws = 6;

// The rotation of row vectors about a unit axis by `angle` radians; about +z it is
// XMath::rotationZ, so that a particle turns the way the object's own rotation does.
XMath::Matrix rotationAbout(const XMath::Vector& axis, float angle) {
  const float s = std::sin(angle);
  const float c = std::cos(angle);
  const float t = 1.0f - c;
  const float ax = axis.x, ay = axis.y, az = axis.z;
  XMath::Matrix r = XMath::identity();
  r.m[0][0] = c + ax * ax * t;
  r.m[0][1] = ax * ay * t + az * s;
  r.m[0][2] = ax * az * t - ay * s;
  r.m[1][0] = ax * ay * t - az * s;
  r.m[1][1] = c + ay * ay * t;
  r.m[1][2] = ay * az * t + ax * s;
  r.m[2][0] = ax * az * t + ay * s;
  r.m[2][1] = ay * az * t - ax * s;
  r.m[2][2] = c + az * az * t;
  return r;
}

bool isZero(const XMath::Vector& v) { return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f; }

// One particle as it is drawn: its matrix and the factor of its vertex alpha.
struct PlacedParticle {
  XMath::Matrix matrix;
  float alpha = 1.0f;
};

// Where and how particle `number`, emitted at frame `emitted` and `age` seconds old, is
// drawn; nothing when its lifetime is over, its scale is not above 0 or it is wholly
// transparent.
std::optional<PlacedParticle> placeParticle(const ParticleOutput& effect,
                                            const EffectContext& context, int layer, int64_t number,
                                            double emitted, double age) {
  const auto at = [&](const EffectItemNumber& item, double frame) {
    return item.getValueAtFrame(context, frame);
  };
  const double life = at(effect.lifetime, emitted);
  if (life > 0.0 && age > life) return std::nullopt;
  const double scale = at(effect.zoom, emitted) + at(effect.zoomSpeed, emitted) * age;
  if (scale <= 0.0) return std::nullopt;
  const double clear =
      at(effect.transparency, emitted) + at(effect.transparencySpeed, emitted) * age;
  if (clear >= 100.0) return std::nullopt;
  PlacedParticle placed;
  placed.alpha = static_cast<float>(std::clamp(1.0 - clear * 0.01, 0.0, 1.0));

  const double halfSquare = 0.5 * age * age;
  const double distance =
      at(effect.speed, emitted) * age + at(effect.acceleration, emitted) * halfSquare;
  const double drop = at(effect.gravity, emitted) * halfSquare;

  float fractions[kMaxDraws];
  const ObjectFrames& frames = context.objectFrames;
  ParticleOutput::particleFractions(layer, frames.start, number, fractions);
  const float* draw = fractions;
  const double theta =
      (at(effect.direction, emitted) + at(effect.spread, emitted) * (*draw++ - 0.5)) *
      kRadiansPerDegree;

  // The emitter's position, at a random instant of the object with the place option.
  double placeFrame = emitted;
  if (effect.randomPlace.value)
    placeFrame =
        static_cast<float>(frames.end - frames.start) * *draw++ + static_cast<float>(frames.start);
  const auto emitterAt = [&](double frame) {
    return XMath::Vector{static_cast<float>(at(effect.x, frame)),
                         static_cast<float>(at(effect.y, frame)),
                         static_cast<float>(at(effect.z, frame)), 0.0f};
  };
  const XMath::Vector place = emitterAt(placeFrame);
  // D points against the emitter's motion (zero while it stands still), S across it.
  XMath::Vector backwards{}, side{};
  if (effect.directionAlongPath.value || effect.rotationAlongPath.value) {
    backwards = XMath::normalize3(XMath::subtract3(place, emitterAt(placeFrame + 1.0)));
    side = XMath::normalize3(XMath::cross3(backwards, XMath::Vector{0.0f, 1.0f, 0.0f, 0.0f}));
  }

  const float size = static_cast<float>(scale * 0.01);
  XMath::Matrix m = XMath::scaling(size, size, size);
  if (!effect.randomRotation3D.value) {
    const double own =
        at(effect.rotation, emitted) + at(effect.rotationSpeed, emitted) * 360.0 * age;
    m = XMath::multiply(m, XMath::rotationZ(static_cast<float>(own * kRadiansPerDegree)));
  } else {
    const float start = *draw++, pace = *draw++, height = *draw++, around = *draw++;
    // An axis spread evenly over the sphere; the start angle and the turning pace random.
    const float axisZ = 2.0f * height - 1.0f;
    const float radius = std::sqrt(std::max(0.0f, 1.0f - axisZ * axisZ));
    const float phi = (2.0f * around - 1.0f) * std::numbers::pi_v<float>;
    const XMath::Vector axis = XMath::normalize3(
        XMath::Vector{radius * std::cos(phi), radius * std::sin(phi), axisZ, 0.0f});
    const double angle = pace * at(effect.rotationSpeed, emitted) * 360.0 * age + start * 360.0;
    if (!isZero(axis))
      m = XMath::multiply(m, rotationAbout(axis, static_cast<float>(angle * kRadiansPerDegree)));
  }
  if (effect.rotationAlongPath.value && !isZero(side)) {
    // Turns the particle's +y axis towards D.
    const float toPath = std::acos(std::clamp(backwards.y, -1.0f, 1.0f));
    m = XMath::multiply(m, rotationAbout(side, -toPath));
  }
  const auto dropFrom = [&](const XMath::Vector& p, float dx, float dy) {
    return XMath::translation(p.x + dx, p.y + dy + static_cast<float>(drop), p.z);
  };
  if (effect.directionAlongPath.value) {
    const XMath::Vector flight = XMath::scale3(backwards, static_cast<float>(distance));
    m = XMath::multiply(m, XMath::translation(flight.x, flight.y, flight.z));
    if (!isZero(side))
      m = XMath::multiply(m,
                          rotationAbout(side, static_cast<float>(side.z < 0.0f ? -theta : theta)));
    m = XMath::multiply(m, dropFrom(place, 0.0f, 0.0f));
  } else {
    m = XMath::multiply(m, dropFrom(place, static_cast<float>(-std::sin(theta) * distance),
                                    static_cast<float>(std::cos(theta) * distance)));
  }
  placed.matrix = m;
  return placed;
}

}  // namespace

void ParticleOutput::particleFractions(int layer, int startFrame, int64_t number,
                                       std::span<float> fractions) {
  // The object's key: its layer in the high half, its start frame mixed into the low one,
  // read as a signed 32-bit number.
  const auto key = static_cast<int32_t>((static_cast<uint32_t>(layer) << 16) ^
                                        static_cast<uint32_t>(startFrame));
  RandomMove::randomFractions(number, key, fractions);
}

int ParticleOutput::collectParticles(const EffectContext& context, const Media::VertexList& base,
                                     Media::VertexList& particles) const {
  if (!context.scene || context.scene->rate <= 0 || context.scene->scale <= 0) return 0;
  const double perSecond = frequency.getValue(context);
  if (!(perSecond > 0.0)) return 0;
  const double secondsPerFrame =
      static_cast<double>(context.scene->scale) / static_cast<double>(context.scene->rate);
  const double interval = 1.0 / perSecond;
  const int start = context.objectFrames.start;
  // Particles emitted so far: the newest has the whole part as its number, and the fraction
  // left over is its age. Before the object's start nothing has been emitted.
  const double emitted = (context.time - start) * secondsPerFrame * perSecond;
  if (!(emitted >= 0.0)) return 0;
  const double whole = std::floor(emitted);
  const auto newest = static_cast<int64_t>(whole);
  const double newestAge = (emitted - whole) * interval;
  const int layer = context.object ? context.object->layer : context.layerIndex;

  int count = 0;
  for (int64_t i = 0; i < kMaxParticles && newest - i >= 0; ++i) {
    const int64_t number = newest - i;
    const double emittedAt = static_cast<double>(number) * interval / secondsPerFrame + start;
    const double age = static_cast<double>(i) * interval + newestAge;
    const std::optional<PlacedParticle> placed =
        placeParticle(*this, context, layer, number, emittedAt, age);
    if (!placed) continue;
    particles.appendTransformed(base, Media::Matrix4(&placed->matrix.m[0][0], 16), placed->alpha);
    ++count;
  }
  return count;
}

OutputView ParticleOutput::getOutputView(EffectContext& context) {
  OutputView view = context.outputView;
  view.x += static_cast<float>(x.getValue(context));
  view.y += static_cast<float>(y.getValue(context));
  view.z += static_cast<float>(z.getValue(context));
  if (blendMode.value != 0)
    view.blendMode = std::clamp(blendMode.value, 0, BasicOutput::kMaxBlendMode);
  if (transparency.getValue(context) > 0.0) view.opacity *= kAlmostOpaque;
  return view;
}

void ParticleOutput::outputVideo(EffectContext& context, Media::RenderBuffer& target,
                                 OwnedImage& image) {
  // The handle stands at the emitter, without the picture's centre offset.
  context.individualParts = true;
  if (!image || !(frequency.getValue(context) > 0.0)) return;
  std::shared_ptr<Media::VertexList> base = context.vertexList;
  if (!base)
    base = Media::VertexListQuadPosUvCommon::getQuad(static_cast<float>(image->width()),
                                                     static_cast<float>(image->height()));
  context.vertexList = base->createEmpty();
  if (collectParticles(context, *base, *context.vertexList) == 0) return;
  OutputVideoDrawer* drawer = outputVideoDrawer();
  if (!drawer) return;

  // Every particle already carries its emitter position: the view must not add it again.
  struct PositionRestore {
    OutputView& view;
    const float x, y, z;
    ~PositionRestore() {
      view.x = x;
      view.y = y;
      view.z = z;
    }
  } restore{context.outputView, context.outputView.x, context.outputView.y, context.outputView.z};
  context.outputView.x -= static_cast<float>(x.getValue(context));
  context.outputView.y -= static_cast<float>(y.getValue(context));
  context.outputView.z -= static_cast<float>(z.getValue(context));
  drawer->drawObject(context, target, *image);
}

}  // namespace Effect
