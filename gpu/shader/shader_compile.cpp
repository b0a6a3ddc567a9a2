#include "gpu/shader/shader_compile.h"

#include <shaderc/shaderc.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "gpu/direct3d_service.h"
#include "gpu/hresult.h"
#include "system/exception.h"

namespace Media {
namespace {

constexpr const char* kCompilePlace = "Media::ShaderCompile::compileFromMemory";
constexpr const char* kCompileCall = "shaderc_compile_into_spv";
// An included file larger than this is refused rather than read.
constexpr std::uintmax_t kMaxIncludeSize = 4u << 20;

struct CompilerDeleter {
  void operator()(shaderc_compiler* compiler) const { shaderc_compiler_release(compiler); }
};
struct OptionsDeleter {
  void operator()(shaderc_compile_options* options) const {
    shaderc_compile_options_release(options);
  }
};
struct ResultDeleter {
  void operator()(shaderc_compilation_result* result) const { shaderc_result_release(result); }
};

// An #include, resolved against the folder of the file that asks for it; its text lives in
// the record until the compiler releases it.
struct IncludeRecord {
  shaderc_include_result result{};
  std::string name;
  std::string content;
};

shaderc_include_result* resolveInclude(void*, const char* requested, int type,
                                       const char* requesting, size_t) {
  auto record = std::make_unique<IncludeRecord>();
  namespace fs = std::filesystem;
  fs::path path(requested);
  if (type == shaderc_include_type_relative && path.is_relative())
    path = fs::path(requesting).parent_path() / path;
  std::error_code error;
  const auto size = fs::file_size(path, error);
  if (error) {
    // An empty name tells the compiler that the include failed; the content is its message.
    record->content = "cannot open include file: " + std::string(requested);
  } else if (size > kMaxIncludeSize) {
    record->content = "include file too large: " + std::string(requested);
  } else if (std::ifstream file(path, std::ios::binary); !file) {
    record->content = "cannot open include file: " + std::string(requested);
  } else {
    record->name = path.string();
    record->content.resize(static_cast<std::size_t>(size));
    file.read(record->content.data(), static_cast<std::streamsize>(size));
    record->content.resize(static_cast<std::size_t>(file.gcount()));
  }
  record->result.source_name = record->name.c_str();
  record->result.source_name_length = record->name.size();
  record->result.content = record->content.c_str();
  record->result.content_length = record->content.size();
  record->result.user_data = record.get();
  return &record.release()->result;
}

void releaseInclude(void*, shaderc_include_result* result) {
  std::unique_ptr<IncludeRecord> record(static_cast<IncludeRecord*>(result->user_data));
}

bool shaderKindOf(const char* profile, shaderc_shader_kind& kind) {
  const std::string_view name = profile ? profile : "";
  if (name.starts_with("ps_")) kind = shaderc_fragment_shader;
  else if (name.starts_with("vs_")) kind = shaderc_vertex_shader;
  else if (name.starts_with("cs_")) kind = shaderc_compute_shader;
  else return false;
  return true;
}

}  // namespace

std::shared_ptr<ShaderBlob> ShaderCompile::compileFromMemory(const char* sourceName,
                                                             const char* sourceText,
                                                             const char* entryPoint,
                                                             const char* targetProfile) {
  shaderc_shader_kind kind;
  if (!sourceText || !entryPoint || !shaderKindOf(targetProfile, kind))
    throw System::makeHresultException(kCompileCall, kCompilePlace, Hresult::kInvalidArgument);

  std::unique_ptr<shaderc_compiler, CompilerDeleter> compiler(shaderc_compiler_initialize());
  std::unique_ptr<shaderc_compile_options, OptionsDeleter> options(
      shaderc_compile_options_initialize());
  if (!compiler || !options)
    throw System::makeHresultException(kCompileCall, kCompilePlace, Hresult::kOutOfMemory);
  shaderc_compile_options_set_source_language(options.get(), shaderc_source_language_hlsl);
  shaderc_compile_options_set_hlsl_functionality1(options.get(), true);
  shaderc_compile_options_set_warnings_as_errors(options.get());
  // The device's driver optimises the GLSL; left unoptimised, the code keeps every input
  // the source declares, so the reflected signature is the declared one.
  shaderc_compile_options_set_optimization_level(options.get(),
                                                 shaderc_optimization_level_zero);
  shaderc_compile_options_set_include_callbacks(options.get(), resolveInclude, releaseInclude,
                                                nullptr);

  const std::string name = sourceName ? sourceName : "";
  std::unique_ptr<shaderc_compilation_result, ResultDeleter> result(shaderc_compile_into_spv(
      compiler.get(), sourceText, std::strlen(sourceText), kind, name.c_str(), entryPoint,
      options.get()));
  const shaderc_compilation_status status =
      result ? shaderc_result_get_compilation_status(result.get())
             : shaderc_compilation_status_internal_error;
  if (status != shaderc_compilation_status_success) {
    const char* message = result ? shaderc_result_get_error_message(result.get()) : nullptr;
    if (message && *message)
      throw System::makeException(kCompilePlace, std::string(kCompileCall) + "() failed", message);
    throw System::makeHresultException(kCompileCall, kCompilePlace, Hresult::kFail);
  }
  const std::size_t bytes = shaderc_result_get_length(result.get());
  std::vector<uint32_t> words(bytes / sizeof(uint32_t));
  std::memcpy(words.data(), shaderc_result_get_bytes(result.get()), words.size() * sizeof(uint32_t));
  return std::make_shared<ShaderBlob>(std::move(words));
}

std::unique_ptr<ShaderReflection> ShaderCompile::getShaderReflection(const void* bytecode,
                                                                     std::size_t size) {
  return reflect(bytecode, size, "Media::ShaderCompile::getShaderReflection");
}

std::unique_ptr<ShaderReflection> ShaderCompile::reflect(const void* bytecode, std::size_t size,
                                                         std::string_view place) {
  if (!bytecode || size < 20 || size % sizeof(uint32_t) != 0)
    throw System::makeHresultException("spvc_context_parse_spirv", place, Hresult::kInvalidArgument);
  // The words are copied: the caller's bytes need not be aligned.
  std::vector<uint32_t> words(size / sizeof(uint32_t));
  std::memcpy(words.data(), bytecode, size);
  Direct3DService* service = Direct3DService::instance();
  const int32_t pixelFormat = service ? service->pixelFormat : Direct3DService::kDefaultPixelFormat;
  return std::make_unique<ShaderReflection>(words, pixelFormat, place);
}

}  // namespace Media
