#include "gpu/shader/shader_reflection.h"

#include <spirv_cross/spirv_cross_c.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <unordered_map>

#include "gpu/pixel_format.h"
#include "system/exception.h"

namespace Media {
namespace {

constexpr const char* kParseCall = "spvc_context_parse_spirv";
constexpr const char* kCompileCall = "spvc_compiler_compile";
constexpr uint32_t kSpareUnitBase = 64;
constexpr uint32_t kSpareUnitCount = 16;

uint32_t roundUp(uint32_t value, uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

// ---------------------------------------------------------------------------------------------
// The instruction stream, read directly for what SPIRV-Cross does not expose in order.

constexpr uint32_t kMagic = 0x07230203;
constexpr uint32_t kOpEntryPoint = 15;
constexpr uint32_t kOpTypeImage = 25;

struct CodeFacts {
  std::vector<uint32_t> interfaceIds;  // the entry point's interface, in declaration order
};

// Checks the header and every instruction's length; gives storage images of four float
// channels the device's pixel format (a float4 unordered-access texture is always in it).
CodeFacts inspectCode(std::vector<uint32_t>& words, SpvImageFormat fourChannelFormat,
                      std::string_view place) {
  if (words.size() < 5 || words[0] != kMagic)
    throw System::makeException(place, std::string(kParseCall) + "() failed",
                                "the code is not SPIR-V.");
  CodeFacts facts;
  bool entryFound = false;
  for (std::size_t at = 5; at < words.size();) {
    const uint32_t count = words[at] >> 16;
    const uint32_t opcode = words[at] & 0xFFFF;
    if (count == 0 || count > words.size() - at)
      throw System::makeException(place, std::string(kParseCall) + "() failed",
                                  "an instruction runs past the end of the code.");
    if (opcode == kOpEntryPoint && !entryFound && count >= 3) {
      entryFound = true;
      // Execution model, entry id, the name (a NUL-terminated string in words), interface.
      std::size_t cursor = at + 3;
      while (cursor < at + count) {
        const uint32_t word = words[cursor++];
        if ((word >> 24) == 0) break;  // the word holding the terminating NUL
      }
      for (; cursor < at + count; ++cursor) facts.interfaceIds.push_back(words[cursor]);
    } else if (opcode == kOpTypeImage && count >= 9) {
      const uint32_t sampled = words[at + 7];
      uint32_t& format = words[at + 8];
      if (sampled == 2 && format == SpvImageFormatRgba32f) format = fourChannelFormat;
    }
    at += count;
  }
  return facts;
}

SpvImageFormat storageFormatOf(int32_t pixelFormat) {
  switch (pixelFormat) {
    case DxgiFormat::R16G16B16A16_UNORM: return SpvImageFormatRgba16;
    case DxgiFormat::R16G16B16A16_SNORM: return SpvImageFormatRgba16Snorm;
    case DxgiFormat::R8G8B8A8_UNORM: return SpvImageFormatRgba8;
    default: return SpvImageFormatRgba16f;
  }
}

// ---------------------------------------------------------------------------------------------
// SPIRV-Cross, scoped.

struct ContextDeleter {
  void operator()(spvc_context_s* context) const { spvc_context_destroy(context); }
};
using ContextPtr = std::unique_ptr<spvc_context_s, ContextDeleter>;

class CrossFailure {
 public:
  CrossFailure(spvc_context context, std::string_view place) : context_(context), place_(place) {}
  void check(spvc_result result, const char* call) const {
    if (result == SPVC_SUCCESS) return;
    fail(call, spvc_context_get_last_error_string(context_));
  }
  [[noreturn]] void fail(const char* call, std::string_view message) const {
    throw System::makeException(place_, std::string(call) + "() failed", message);
  }

 private:
  spvc_context context_;
  std::string place_;
};

// ---------------------------------------------------------------------------------------------
// Constant buffer layouts: HLSL packing for the program, std140 for GL.

struct TypeLayout {
  uint32_t hlslSize = 0;
  uint32_t glSize = 0;
  uint32_t glAlign = 4;
  bool startsRegister = false;  // arrays, structures and matrices
  bool closesRegister = false;  // structures: what follows starts a register
  std::vector<ConstantCopy> copies;  // relative to the start on both sides
};

void appendShifted(std::vector<ConstantCopy>& to, const std::vector<ConstantCopy>& from,
                   uint32_t source, uint32_t target) {
  for (const ConstantCopy& copy : from)
    to.push_back({copy.source + source, copy.target + target, copy.size});
}

class BlockLayouter {
 public:
  BlockLayouter(spvc_compiler compiler, const CrossFailure& failure)
      : compiler_(compiler), failure_(failure) {}

  // Lays the structure out both ways, writes the GL offsets into its decorations and, for
  // the block itself, lists its members.
  TypeLayout layoutStruct(spvc_type_id id, std::vector<ConstantBufferVariable>* variables,
                          int depth = 0) {
    if (depth > 16) unsupported("structures nested too deeply");
    const spvc_type type = spvc_compiler_get_type_handle(compiler_, id);
    const unsigned count = spvc_type_get_num_member_types(type);
    TypeLayout result;
    uint32_t hlslCursor = 0;
    uint32_t glCursor = 0;
    bool startRegister = false;
    for (unsigned i = 0; i < count; ++i) {
      const spvc_type_id memberId = spvc_type_get_member_type(type, i);
      const bool rowMajor =
          spvc_compiler_has_member_decoration(compiler_, id, i, SpvDecorationRowMajor);
      TypeLayout member = layoutMember(memberId, rowMajor, depth);

      uint32_t hlslOffset = hlslCursor;
      if (member.startsRegister || startRegister ||
          (member.hlslSize > 0 && hlslOffset / 16 != (hlslOffset + member.hlslSize - 1) / 16))
        hlslOffset = roundUp(hlslOffset, 16);
      hlslCursor = hlslOffset + member.hlslSize;
      startRegister = member.closesRegister;

      const uint32_t glOffset = roundUp(glCursor, member.glAlign);
      glCursor = glOffset + member.glSize;
      spvc_compiler_set_member_decoration(compiler_, id, i, SpvDecorationOffset, glOffset);
      if (isMatrix(memberId))
        spvc_compiler_set_member_decoration(compiler_, id, i, SpvDecorationMatrixStride, 16);

      appendShifted(result.copies, member.copies, hlslOffset, glOffset);
      if (variables) {
        const char* name = spvc_compiler_get_member_name(compiler_, id, i);
        variables->push_back({name ? name : "", hlslOffset, member.hlslSize});
      }
    }
    result.hlslSize = hlslCursor;
    result.glSize = roundUp(glCursor, 16);
    result.glAlign = 16;
    result.startsRegister = true;
    result.closesRegister = true;
    return result;
  }

 private:
  [[noreturn]] void unsupported(const char* what) const {
    failure_.fail(kCompileCall, std::string("constant buffer: ") + what + " not supported.");
  }

  bool isMatrix(spvc_type_id id) const {
    const spvc_type type = spvc_compiler_get_type_handle(compiler_, id);
    return spvc_type_get_basetype(type) != SPVC_BASETYPE_STRUCT &&
           spvc_type_get_columns(type) > 1;
  }

  TypeLayout layoutMember(spvc_type_id id, bool rowMajor, int depth) {
    const spvc_type type = spvc_compiler_get_type_handle(compiler_, id);
    const unsigned dimensions = spvc_type_get_num_array_dimensions(type);
    if (dimensions == 0) return layoutElement(type, rowMajor, depth);
    if (dimensions > 1) unsupported("arrays of arrays");
    if (!spvc_type_array_dimension_is_literal(type, 0)) unsupported("arrays sized by constants");
    const uint32_t length = spvc_type_get_array_dimension(type, 0);
    if (length == 0) unsupported("arrays without a size");
    const TypeLayout element = layoutElement(type, rowMajor, depth);

    TypeLayout result;
    const uint32_t hlslStride = roundUp(std::max(element.hlslSize, 1u), 16);
    const uint32_t glAlign = std::max(16u, element.glAlign);
    const uint32_t glStride = roundUp(element.glSize, glAlign);
    if (uint64_t{glStride} * length > 65536) unsupported("arrays larger than a constant buffer");
    spvc_compiler_set_decoration(compiler_, id, SpvDecorationArrayStride, glStride);
    result.hlslSize = hlslStride * (length - 1) + element.hlslSize;
    result.glSize = glStride * length;
    result.glAlign = glAlign;
    result.startsRegister = true;
    result.closesRegister = element.closesRegister;
    for (uint32_t i = 0; i < length; ++i)
      appendShifted(result.copies, element.copies, i * hlslStride, i * glStride);
    return result;
  }

  TypeLayout layoutElement(spvc_type type, bool rowMajor, int depth) {
    const spvc_basetype base = spvc_type_get_basetype(type);
    if (base == SPVC_BASETYPE_STRUCT)
      return layoutStruct(spvc_type_get_base_type_id(type), nullptr, depth + 1);
    const unsigned bits = spvc_type_get_bit_width(type);
    if (bits != 32 && bits != 64) unsupported("members of 8 or 16 bits");
    const uint32_t scalar = bits / 8;
    const uint32_t vector = spvc_type_get_vector_size(type);
    const uint32_t columns = spvc_type_get_columns(type);
    TypeLayout result;
    if (columns > 1) {
      if (scalar != 4) unsupported("double matrices");
      // HLSL keeps each column (column-major) or row (row-major) in a register; the SPIR-V
      // decoration says which of the two holds vectors of `vector` components.
      const uint32_t registers = rowMajor ? vector : columns;
      const uint32_t components = rowMajor ? columns : vector;
      result.hlslSize = 16 * (registers - 1) + components * scalar;
      result.glSize = 16 * registers;
      result.glAlign = 16;
      result.startsRegister = true;
    } else {
      const uint32_t size = vector * scalar;
      result.hlslSize = size;
      result.glSize = size;
      result.glAlign = vector == 1 ? scalar : vector == 2 ? 2 * scalar : 4 * scalar;
    }
    result.copies.push_back({0, 0, result.hlslSize});
    return result;
  }

  spvc_compiler compiler_;
  const CrossFailure& failure_;
};

std::vector<ConstantCopy> mergeCopies(std::vector<ConstantCopy> copies) {
  std::sort(copies.begin(), copies.end(),
            [](const ConstantCopy& a, const ConstantCopy& b) { return a.source < b.source; });
  std::vector<ConstantCopy> merged;
  for (const ConstantCopy& copy : copies) {
    if (copy.size == 0) continue;
    if (!merged.empty()) {
      ConstantCopy& last = merged.back();
      if (last.source + last.size == copy.source && last.target + last.size == copy.target) {
        last.size += copy.size;
        continue;
      }
    }
    merged.push_back(copy);
  }
  return merged;
}

// ---------------------------------------------------------------------------------------------
// Signatures.

const char* systemValueName(SpvBuiltIn builtin) {
  switch (builtin) {
    case SpvBuiltInFragCoord:
    case SpvBuiltInPosition: return "SV_Position";
    case SpvBuiltInFrontFacing: return "SV_IsFrontFace";
    case SpvBuiltInVertexIndex: return "SV_VertexID";
    case SpvBuiltInInstanceIndex: return "SV_InstanceID";
    case SpvBuiltInSampleId: return "SV_SampleIndex";
    case SpvBuiltInSampleMask: return "SV_Coverage";
    case SpvBuiltInPrimitiveId: return "SV_PrimitiveID";
    case SpvBuiltInFragDepth: return "SV_Depth";
    case SpvBuiltInClipDistance: return "SV_ClipDistance";
    case SpvBuiltInCullDistance: return "SV_CullDistance";
    case SpvBuiltInGlobalInvocationId: return "SV_DispatchThreadID";
    case SpvBuiltInLocalInvocationId: return "SV_GroupThreadID";
    case SpvBuiltInWorkgroupId: return "SV_GroupID";
    case SpvBuiltInLocalInvocationIndex: return "SV_GroupIndex";
    default: return nullptr;
  }
}

uint32_t componentTypeOf(spvc_basetype base) {
  switch (base) {
    case SPVC_BASETYPE_FP32: return ComponentType::FLOAT32;
    case SPVC_BASETYPE_INT32: return ComponentType::SINT32;
    case SPVC_BASETYPE_UINT32:
    case SPVC_BASETYPE_BOOLEAN: return ComponentType::UINT32;
    default: return ComponentType::UNKNOWN;
  }
}

// "TEXCOORD1" is the name "TEXCOORD" with index 1.
void splitSemantic(const std::string& semantic, SignatureParameter& parameter) {
  std::size_t end = semantic.size();
  while (end > 0 && std::isdigit(static_cast<unsigned char>(semantic[end - 1]))) --end;
  parameter.semanticName = semantic.substr(0, end);
  parameter.semanticIndex = 0;
  if (end < semantic.size() && semantic.size() - end <= 9)
    parameter.semanticIndex = static_cast<uint32_t>(std::stoul(semantic.substr(end)));
}

std::vector<SignatureParameter> readSignature(spvc_compiler compiler, spvc_resources resources,
                                              spvc_resource_type userType,
                                              spvc_builtin_resource_type builtinType,
                                              const std::vector<uint32_t>& order) {
  struct Found {
    spvc_type_id typeId;
    std::optional<SpvBuiltIn> builtin;
  };
  std::unordered_map<uint32_t, Found> byId;
  const spvc_reflected_resource* list = nullptr;
  size_t count = 0;
  if (spvc_resources_get_resource_list_for_type(resources, userType, &list, &count) == SPVC_SUCCESS)
    for (size_t i = 0; i < count; ++i) byId[list[i].id] = {list[i].type_id, std::nullopt};
  const spvc_reflected_builtin_resource* builtins = nullptr;
  if (spvc_resources_get_builtin_resource_list_for_type(resources, builtinType, &builtins,
                                                        &count) == SPVC_SUCCESS)
    for (size_t i = 0; i < count; ++i)
      byId[builtins[i].resource.id] = {builtins[i].resource.type_id, builtins[i].builtin};

  std::vector<SignatureParameter> parameters;
  for (uint32_t id : order) {
    const auto found = byId.find(id);
    if (found == byId.end()) continue;
    SignatureParameter parameter;
    const char* semantic =
        spvc_compiler_get_decoration_string(compiler, id, SpvDecorationHlslSemanticGOOGLE);
    const char* systemName = found->second.builtin ? systemValueName(*found->second.builtin) : nullptr;
    if (systemName) {
      parameter.semanticName = systemName;
      parameter.systemValue = true;
    } else if (semantic && *semantic) {
      splitSemantic(semantic, parameter);
    } else {
      const char* name = spvc_compiler_get_name(compiler, id);
      parameter.semanticName = name ? name : "";
    }
    if (found->second.builtin && !systemName) parameter.systemValue = true;
    const spvc_type type = spvc_compiler_get_type_handle(compiler, found->second.typeId);
    parameter.componentType = componentTypeOf(spvc_type_get_basetype(type));
    const uint32_t components = std::min(spvc_type_get_vector_size(type), 4u);
    parameter.mask = static_cast<uint8_t>((1u << components) - 1);
    if (!parameter.systemValue)
      parameter.location = spvc_compiler_get_decoration(compiler, id, SpvDecorationLocation);
    parameters.push_back(std::move(parameter));
  }
  return parameters;
}

}  // namespace

ShaderReflection::ShaderReflection(std::span<const uint32_t> spirv, int32_t pixelFormat,
                                   std::string_view place) {
  std::vector<uint32_t> words(spirv.begin(), spirv.end());
  const CodeFacts facts = inspectCode(words, storageFormatOf(pixelFormat), place);

  spvc_context rawContext = nullptr;
  if (spvc_context_create(&rawContext) != SPVC_SUCCESS)
    throw System::makeException(place, "spvc_context_create() failed");
  ContextPtr context(rawContext);
  const CrossFailure failure(rawContext, place);

  spvc_parsed_ir ir = nullptr;
  failure.check(spvc_context_parse_spirv(rawContext, words.data(), words.size(), &ir), kParseCall);
  spvc_compiler compiler = nullptr;
  failure.check(spvc_context_create_compiler(rawContext, SPVC_BACKEND_GLSL, ir,
                                             SPVC_CAPTURE_MODE_TAKE_OWNERSHIP, &compiler),
                kParseCall);

  switch (spvc_compiler_get_execution_model(compiler)) {
    case SpvExecutionModelVertex: stage_ = ShaderStage::Vertex; break;
    case SpvExecutionModelFragment: stage_ = ShaderStage::Pixel; break;
    case SpvExecutionModelGLCompute: stage_ = ShaderStage::Compute; break;
    default: failure.fail(kParseCall, "only vertex, pixel and compute shaders are supported.");
  }

  spvc_compiler_options options = nullptr;
  failure.check(spvc_compiler_create_compiler_options(compiler, &options), kCompileCall);
  spvc_compiler_options_set_uint(options, SPVC_COMPILER_OPTION_GLSL_VERSION, 450);
  spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_ES, SPVC_FALSE);
  spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_VULKAN_SEMANTICS, SPVC_FALSE);
  spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_SEPARATE_SHADER_OBJECTS,
                                 SPVC_TRUE);
  failure.check(spvc_compiler_install_compiler_options(compiler, options), kCompileCall);

  if (stage_ == ShaderStage::Pixel) {
    // Every context draws with the upper-left origin already (glClipControl), so the pixel
    // position must not be flipped once more by the shader.
    spvc_compiler_unset_execution_mode(compiler, SpvExecutionModeOriginUpperLeft);
    spvc_compiler_set_execution_mode(compiler, SpvExecutionModeOriginLowerLeft);
  }
  if (stage_ == ShaderStage::Compute)
    for (unsigned i = 0; i < 3; ++i)
      threadGroupSize_[i] = std::max(
          1u, spvc_compiler_get_execution_mode_argument_by_index(compiler, SpvExecutionModeLocalSize, i));

  // Textures and samplers become combined samplers on texture units.
  spvc_variable_id dummySampler = 0;
  failure.check(spvc_compiler_build_dummy_sampler_for_combined_images(compiler, &dummySampler),
                kCompileCall);
  failure.check(spvc_compiler_build_combined_image_samplers(compiler), kCompileCall);
  const spvc_combined_image_sampler* combined = nullptr;
  size_t combinedCount = 0;
  failure.check(spvc_compiler_get_combined_image_samplers(compiler, &combined, &combinedCount),
                kCompileCall);
  std::vector<bool> slotTaken(kTextureSlots, false);
  uint32_t spare = 0;
  for (size_t i = 0; i < combinedCount; ++i) {
    TextureUnitBinding binding;
    binding.textureSlot = spvc_compiler_get_decoration(compiler, combined[i].image_id, SpvDecorationBinding);
    if (binding.textureSlot >= kTextureSlots)
      failure.fail(kCompileCall, "texture register beyond t63.");
    if (combined[i].sampler_id != 0 && combined[i].sampler_id != dummySampler)
      binding.samplerSlot = static_cast<int32_t>(
          spvc_compiler_get_decoration(compiler, combined[i].sampler_id, SpvDecorationBinding));
    if (!slotTaken[binding.textureSlot]) {
      slotTaken[binding.textureSlot] = true;
      binding.unit = binding.textureSlot;
    } else {
      if (spare >= kSpareUnitCount) failure.fail(kCompileCall, "too many texture and sampler pairs.");
      binding.unit = kSpareUnitBase + spare++;
    }
    spvc_compiler_set_decoration(compiler, combined[i].combined_id, SpvDecorationBinding, binding.unit);
    textureUnits_.push_back(binding);
  }

  spvc_resources resources = nullptr;
  failure.check(spvc_compiler_create_shader_resources(compiler, &resources), kCompileCall);

  const spvc_reflected_resource* list = nullptr;
  size_t count = 0;
  failure.check(spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_STORAGE_IMAGE,
                                                          &list, &count),
                kCompileCall);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t slot = spvc_compiler_get_decoration(compiler, list[i].id, SpvDecorationBinding);
    if (slot >= kImageSlots) failure.fail(kCompileCall, "unordered-access register beyond u7.");
    imageUnits_.push_back(slot);
  }

  failure.check(spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_UNIFORM_BUFFER,
                                                          &list, &count),
                kCompileCall);
  BlockLayouter layouter(compiler, failure);
  for (size_t i = 0; i < count; ++i) {
    ConstantBufferDescription buffer;
    buffer.name = list[i].name ? list[i].name : "";
    buffer.slot = spvc_compiler_get_decoration(compiler, list[i].id, SpvDecorationBinding);
    if (buffer.slot >= kConstantSlots) failure.fail(kCompileCall, "constant buffer register beyond b13.");
    buffer.glBinding = constantBinding(stage_, buffer.slot);
    spvc_compiler_set_decoration(compiler, list[i].id, SpvDecorationBinding, buffer.glBinding);
    const TypeLayout layout = layouter.layoutStruct(list[i].base_type_id, &buffer.variables);
    buffer.size = roundUp(std::max(layout.hlslSize, 1u), 16);
    buffer.glSize = std::max(layout.glSize, 16u);
    if (buffer.size > 65536 || buffer.glSize > 65536)
      failure.fail(kCompileCall, "constant buffer larger than 65536 bytes.");
    buffer.copies = mergeCopies(layout.copies);
    buffer.sameLayout = std::all_of(buffer.copies.begin(), buffer.copies.end(),
                                    [](const ConstantCopy& c) { return c.source == c.target; });
    constantBuffers_.push_back(std::move(buffer));
  }
  std::sort(constantBuffers_.begin(), constantBuffers_.end(),
            [](const auto& a, const auto& b) { return a.slot < b.slot; });

  if (stage_ == ShaderStage::Pixel) {
    // Draws have one render target: an output to target 1 can only be the second source of
    // dual-source blending, which GL reads from index 1 of location 0.
    failure.check(spvc_resources_get_resource_list_for_type(resources, SPVC_RESOURCE_TYPE_STAGE_OUTPUT,
                                                            &list, &count),
                  kCompileCall);
    for (size_t i = 0; i < count; ++i)
      if (spvc_compiler_get_decoration(compiler, list[i].id, SpvDecorationLocation) == 1) {
        spvc_compiler_set_decoration(compiler, list[i].id, SpvDecorationLocation, 0);
        spvc_compiler_set_decoration(compiler, list[i].id, SpvDecorationIndex, 1);
      }
  }

  inputs_ = readSignature(compiler, resources, SPVC_RESOURCE_TYPE_STAGE_INPUT,
                          SPVC_BUILTIN_RESOURCE_TYPE_STAGE_INPUT, facts.interfaceIds);
  outputs_ = readSignature(compiler, resources, SPVC_RESOURCE_TYPE_STAGE_OUTPUT,
                           SPVC_BUILTIN_RESOURCE_TYPE_STAGE_OUTPUT, facts.interfaceIds);

  const char* source = nullptr;
  failure.check(spvc_compiler_compile(compiler, &source), kCompileCall);
  glsl_ = source;
}

const ConstantBufferDescription* ShaderReflection::findConstantBuffer(std::string_view name) const {
  for (const auto& buffer : constantBuffers_)
    if (buffer.name == name) return &buffer;
  return nullptr;
}

}  // namespace Media
