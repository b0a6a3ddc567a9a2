#include "gpu/gl/gl_pipeline_state.h"

#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_error.h"
#include "gpu/gl/gl_object.h"

namespace Media {
namespace {

void forgetEverywhere(const void* object) {
  if (GlDevice* device = GlDevice::live()) device->forgetCachedObject(object);
}

GLenum glAddressMode(AddressMode mode) {
  switch (mode) {
    case AddressMode::WRAP: return GL_REPEAT;
    case AddressMode::MIRROR: return GL_MIRRORED_REPEAT;
    case AddressMode::CLAMP: return GL_CLAMP_TO_EDGE;
    case AddressMode::BORDER: return GL_CLAMP_TO_BORDER;
  }
  return GL_CLAMP_TO_EDGE;
}

GLenum glFactor(Blend blend) {
  switch (blend) {
    case Blend::ZERO: return GL_ZERO;
    case Blend::ONE: return GL_ONE;
    case Blend::SRC_COLOR: return GL_SRC_COLOR;
    case Blend::INV_SRC_COLOR: return GL_ONE_MINUS_SRC_COLOR;
    case Blend::SRC_ALPHA: return GL_SRC_ALPHA;
    case Blend::INV_SRC_ALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case Blend::DEST_ALPHA: return GL_DST_ALPHA;
    case Blend::INV_DEST_ALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case Blend::DEST_COLOR: return GL_DST_COLOR;
    case Blend::INV_DEST_COLOR: return GL_ONE_MINUS_DST_COLOR;
    case Blend::SRC_ALPHA_SAT: return GL_SRC_ALPHA_SATURATE;
    // The constant colour's alpha serves the alpha terms, as the factor's fourth value.
    case Blend::BLEND_FACTOR: return GL_CONSTANT_COLOR;
    case Blend::INV_BLEND_FACTOR: return GL_ONE_MINUS_CONSTANT_COLOR;
    case Blend::SRC1_COLOR: return GL_SRC1_COLOR;
    case Blend::INV_SRC1_COLOR: return GL_ONE_MINUS_SRC1_COLOR;
    case Blend::SRC1_ALPHA: return GL_SRC1_ALPHA;
    case Blend::INV_SRC1_ALPHA: return GL_ONE_MINUS_SRC1_ALPHA;
  }
  return GL_ONE;
}

// A factor of the alpha row for a mask, whose stored channel is red: its destination alpha is
// the stored colour, and colour terms stand for their alpha as they do in the alpha row.
GLenum glMaskFactor(Blend blend) {
  switch (blend) {
    case Blend::SRC_COLOR: return GL_SRC_ALPHA;
    case Blend::INV_SRC_COLOR: return GL_ONE_MINUS_SRC_ALPHA;
    case Blend::DEST_ALPHA:
    case Blend::DEST_COLOR: return GL_DST_COLOR;
    case Blend::INV_DEST_ALPHA:
    case Blend::INV_DEST_COLOR: return GL_ONE_MINUS_DST_COLOR;
    case Blend::SRC_ALPHA_SAT: return GL_ONE;  // min(as, 1 - ad) for alpha is one
    case Blend::BLEND_FACTOR: return GL_CONSTANT_ALPHA;
    case Blend::INV_BLEND_FACTOR: return GL_ONE_MINUS_CONSTANT_ALPHA;
    case Blend::SRC1_COLOR: return GL_SRC1_ALPHA;
    case Blend::INV_SRC1_COLOR: return GL_ONE_MINUS_SRC1_ALPHA;
    default: return glFactor(blend);
  }
}

GLenum glEquation(BlendOp op) {
  switch (op) {
    case BlendOp::ADD: return GL_FUNC_ADD;
    case BlendOp::SUBTRACT: return GL_FUNC_SUBTRACT;
    case BlendOp::REV_SUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case BlendOp::MIN: return GL_MIN;
    case BlendOp::MAX: return GL_MAX;
  }
  return GL_FUNC_ADD;
}

}  // namespace

BlendState::BlendState(const BlendDescription& description) : description_(description) {}

BlendState::~BlendState() { forgetEverywhere(this); }

void BlendState::apply(const float* blendFactor, bool alphaOnlyTarget) const {
  const BlendDescription& d = description_;
  if (d.enable) {
    glEnable(GL_BLEND);
    if (alphaOnlyTarget) {
      const GLenum source = glMaskFactor(d.srcAlpha);
      const GLenum destination = glMaskFactor(d.destAlpha);
      glBlendFuncSeparate(source, destination, source, destination);
      glBlendEquationSeparate(glEquation(d.alphaOp), glEquation(d.alphaOp));
    } else {
      glBlendFuncSeparate(glFactor(d.srcColor), glFactor(d.destColor), glFactor(d.srcAlpha),
                          glFactor(d.destAlpha));
      glBlendEquationSeparate(glEquation(d.colorOp), glEquation(d.alphaOp));
    }
  } else {
    glDisable(GL_BLEND);
  }
  const bool writeAlpha = (d.writeMask & 8) != 0;
  if (alphaOnlyTarget)
    glColorMask(writeAlpha, writeAlpha, writeAlpha, writeAlpha);
  else
    glColorMask((d.writeMask & 1) != 0, (d.writeMask & 2) != 0, (d.writeMask & 4) != 0,
                writeAlpha);
  static constexpr float kOnes[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  const float* factor = blendFactor ? blendFactor : kOnes;
  glBlendColor(factor[0], factor[1], factor[2], factor[3]);
}

RasterizerState::~RasterizerState() { forgetEverywhere(this); }

void RasterizerState::apply() const {
  const RasterizerDescription& d = description_;
  glPolygonMode(GL_FRONT_AND_BACK, d.fill == FillMode::WIREFRAME ? GL_LINE : GL_FILL);
  if (d.cull == CullMode::NONE) {
    glDisable(GL_CULL_FACE);
  } else {
    glEnable(GL_CULL_FACE);
    glCullFace(d.cull == CullMode::FRONT ? GL_FRONT : GL_BACK);
  }
  glFrontFace(d.frontCounterClockwise ? GL_CCW : GL_CW);
  if (d.depthClip)
    glDisable(GL_DEPTH_CLAMP);
  else
    glEnable(GL_DEPTH_CLAMP);
  if (d.scissor)
    glEnable(GL_SCISSOR_TEST);
  else
    glDisable(GL_SCISSOR_TEST);
  if (d.multisample)
    glEnable(GL_MULTISAMPLE);
  else
    glDisable(GL_MULTISAMPLE);
  if (d.antialiasedLine)
    glEnable(GL_LINE_SMOOTH);
  else
    glDisable(GL_LINE_SMOOTH);
}

SamplerState::SamplerState(const SamplerDescription& description, const char* call,
                           const char* place)
    : description_(description) {
  const uint64_t deviceId = GlDevice::require(place).id();
  Gl::clearErrors();
  sampler_ = std::make_unique<Gl::Object>(Gl::Object::create(Gl::ObjectType::Sampler, deviceId));
  const GLuint name = sampler_->name();
  const bool linear = description.filter == Filter::MIN_MAG_MIP_LINEAR;
  glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER,
                      linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
  glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
  glSamplerParameteri(name, GL_TEXTURE_WRAP_S, static_cast<GLint>(glAddressMode(description.addressU)));
  glSamplerParameteri(name, GL_TEXTURE_WRAP_T, static_cast<GLint>(glAddressMode(description.addressV)));
  glSamplerParameteri(name, GL_TEXTURE_WRAP_R, static_cast<GLint>(glAddressMode(description.addressW)));
  glSamplerParameterf(name, GL_TEXTURE_LOD_BIAS, description.mipLodBias);
  glSamplerParameterf(name, GL_TEXTURE_MIN_LOD, description.minLod);
  glSamplerParameterf(name, GL_TEXTURE_MAX_LOD, description.maxLod);
  glSamplerParameterfv(name, GL_TEXTURE_BORDER_COLOR, description.borderColor.data());
  // The comparison serves comparison filters only, which the program does not use.
  glSamplerParameteri(name, GL_TEXTURE_COMPARE_MODE, GL_NONE);
  glSamplerParameteri(name, GL_TEXTURE_COMPARE_FUNC,
                      description.comparison == Comparison::NEVER ? GL_NEVER : GL_ALWAYS);
  Gl::checkError(call, place);
  // Other contexts bind it only once its parameters are in place.
  sampler_->markWritten();
}

SamplerState::~SamplerState() { forgetEverywhere(this); }

void bindSampler(const SamplerState& sampler, GLuint unit) {
  sampler.object().waitReady();
  glBindSampler(unit, sampler.object().name());
}

}  // namespace Media
