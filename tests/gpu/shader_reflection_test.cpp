// What compiled HLSL says about itself: constant buffers in HLSL's register packing, input
// signatures, vertex input layouts, and the errors of code that does not compile.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gpu/shader/shader_compile.h"
#include "gpu/shader/vertex_shader.h"

namespace {

using Media::ShaderCompile;
using testing::HasSubstr;

std::unique_ptr<Media::ShaderReflection> reflectSource(const std::string& source,
                                                       const char* profile = "ps_5_0") {
  const auto code = ShaderCompile::compileFromMemory("test.hlsl", source.c_str(), "main", profile);
  return ShaderCompile::getShaderReflection(code->getBufferPointer(), code->getBufferSize());
}

struct Member {
  std::string name;
  uint32_t offset;
  uint32_t size;
  bool operator==(const Member&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Member& member) {
  return out << member.name << "@" << member.offset << "+" << member.size;
}

// Members of constant buffers land where the HLSL packing puts them: in order, moving to the
// next 16-byte register only when they would straddle one; arrays, structures and matrices
// start a register; array elements take a register each, the last one unpadded; a structure
// closes its register.
TEST(ShaderReflectionTest, ConstantBufferMembersFollowHlslPacking) {
  struct Case {
    const char* name;
    const char* declarations;
    std::vector<Member> members;
    uint32_t size;
    const char* readValue;
  };
  const Case cases[] = {
      {"a pair packs after a scalar", "float alpha; int2 offset;",
       {{"alpha", 0, 4}, {"offset", 4, 8}},
       16, "alpha"},
      {"a pair fills the rest of a register", "int blend; float alpha; int2 offset;",
       {{"blend", 0, 4}, {"alpha", 4, 4}, {"offset", 8, 8}},
       16, "alpha"},
      {"a triple after a scalar", "float a; float3 b;", {{"a", 0, 4}, {"b", 4, 12}}, 16, "a"},
      {"a triple that would straddle moves on", "float2 a; float3 b;",
       {{"a", 0, 8}, {"b", 16, 12}},
       32, "b.x"},
      {"matrices start registers, scalars pack after them",
       "float4x4 projection; float alpha; int blend; float4x4 normalWorld; float shine;",
       {{"projection", 0, 64},
        {"alpha", 64, 4},
        {"blend", 68, 4},
        {"normalWorld", 80, 64},
        {"shine", 144, 4}},
       160, "shine"},
      {"a scalar packs into the last element of an array", "float a[2]; float b;",
       {{"a", 0, 20}, {"b", 20, 4}},
       32, "b"},
      {"an array of structures, then what follows",
       "struct LightSource { int type; float3 pos; float4 col; }; "
       "LightSource source[8]; int lightNum; float3 ambient;",
       {{"source", 0, 256}, {"lightNum", 256, 4}, {"ambient", 260, 12}},
       272, "ambient.x"},
      {"a structure closes its register",
       "struct Inner { float x; }; Inner inner; float y;",
       {{"inner", 0, 4}, {"y", 16, 4}},
       32, "y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string source = "cbuffer constant0 : register(b0) {\n";
    std::string body = c.declarations;
    // A structure is declared before the buffer that uses it.
    std::string structure;
    if (const auto end = body.find("}; "); body.starts_with("struct")) {
      structure = body.substr(0, end + 2) + "\n";
      body = body.substr(end + 3);
    }
    source = structure + source + body + "\n};\n";
    // Buffers that the code does not read are left out of it, so the shader reads one
    // value; every member is declared whether read or not.
    source += "float4 main(float4 position : SV_Position) : SV_Target {\n"
              "  return float4(position.xy, 0, 1) * ";
    source += c.readValue;
    source += "; }\n";
    const auto reflection = reflectSource(source);
    const auto* buffer = reflection->findConstantBuffer("constant0");
    ASSERT_NE(buffer, nullptr);
    std::vector<Member> members;
    for (const auto& variable : buffer->variables)
      members.push_back({variable.name, variable.startOffset, variable.size});
    EXPECT_EQ(members, c.members);
    EXPECT_EQ(buffer->size, c.size);
    EXPECT_EQ(buffer->slot, 0u);
  }
}

TEST(ShaderReflectionTest, BuffersWhoseMembersSitAsInStd140AreReadDirectly) {
  const auto reflection = reflectSource(
      "cbuffer A : register(b0) { float4x4 transform; float4 offset; };\n"
      "cbuffer B : register(b2) { float alpha; int2 offset2; };\n"
      "float4 main(float4 p : SV_Position) : SV_Target { return offset + alpha + offset2.x; }\n");
  ASSERT_EQ(reflection->constantBuffers().size(), 2u);
  const auto& a = *reflection->findConstantBuffer("A");
  EXPECT_TRUE(a.sameLayout);
  EXPECT_EQ(a.size, 80u);
  EXPECT_EQ(a.glBinding, Media::ShaderReflection::constantBinding(Media::ShaderStage::Pixel, 0));
  const auto& b = *reflection->findConstantBuffer("B");
  EXPECT_FALSE(b.sameLayout) << "an int2 at 4 is at 8 in std140";
  EXPECT_EQ(b.slot, 2u);
  ASSERT_EQ(b.copies.size(), 2u);
  EXPECT_EQ(b.copies[1].source, 4u);
  EXPECT_EQ(b.copies[1].target, 8u);
}

// The signature in declaration order; system values under their canonical names. (A system
// value that the code never reads leaves no trace in it.)
TEST(ShaderReflectionTest, InputSignatureInDeclarationOrder) {
  const auto reflection = reflectSource(
      "struct Input { float4 position : SV_POSITION; float3 normal : NORMAL;\n"
      "  float2 uv : TEXCOORD1; bool front : SV_IsFrontFace; };\n"
      "float4 main(Input input) : SV_Target {\n"
      "  return float4(input.normal, input.uv.x) * input.position.x * input.front; }\n");
  const auto& inputs = reflection->inputParameters();
  ASSERT_EQ(inputs.size(), 4u);
  EXPECT_EQ(inputs[0].semanticName, "SV_Position");
  EXPECT_TRUE(inputs[0].systemValue);
  EXPECT_EQ(inputs[0].componentType, Media::ComponentType::FLOAT32);
  EXPECT_EQ(inputs[0].mask, 0xF);
  EXPECT_EQ(inputs[1].semanticName, "NORMAL");
  EXPECT_EQ(inputs[1].mask, 0x7);
  EXPECT_EQ(inputs[2].semanticName, "TEXCOORD");
  EXPECT_EQ(inputs[2].semanticIndex, 1u);
  EXPECT_EQ(inputs[3].semanticName, "SV_IsFrontFace");
  EXPECT_EQ(inputs[3].componentType, Media::ComponentType::UINT32);
}

TEST(ShaderReflectionTest, InputLayoutFormatsFollowComponentsTypeAndName) {
  struct Case {
    uint8_t mask;
    uint32_t type;
    const char* name;
    int32_t format;
  };
  const Case cases[] = {
      {0xF, Media::ComponentType::FLOAT32, "POSITION", 6},  // R32G32B32_FLOAT
      {0xF, Media::ComponentType::FLOAT32, "NORMAL", 6},
      {0xF, Media::ComponentType::FLOAT32, "COLOR", 2},     // R32G32B32A32_FLOAT
      {0x3, Media::ComponentType::FLOAT32, "TEXUV", 16},    // R32G32_FLOAT
      {0x1, Media::ComponentType::UINT32, "INDEX", 42},     // R32_UINT
      {0x7, Media::ComponentType::SINT32, "OFFSET", 8},     // R32G32B32_SINT
      {0x0, Media::ComponentType::FLOAT32, "EMPTY", 16},
      {0x10, Media::ComponentType::FLOAT32, "WIDE", 0},
      {0xF, Media::ComponentType::UNKNOWN, "COLOR", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Media::VertexShader::formatOf(c.mask, c.type, c.name), c.format) << c.name;
}

// The compiler's message is in the error text; a warning fails as an error does.
TEST(ShaderReflectionTest, SourceThatDoesNotCompileReportsTheCompilersMessage) {
  struct Case {
    const char* name;
    const char* source;
    const char* message;
  };
  const Case cases[] = {
      {"syntax error", "float4 main(float4 p : SV_Position) : SV_Target { return p +; }\n",
       "test.hlsl:1"},
      {"unknown name", "float4 main(float4 p : SV_Position) : SV_Target { return q; }\n",
       "'q'"},
      {"warning", "[unknownattribute] float4 main(float4 p : SV_Position) : SV_Target "
                  "{ return p; }\n",
       "unknownattribute"},
      {"missing include", "#include \"absent.hlsli\"\nfloat4 main() : SV_Target { return 0; }\n",
       "absent.hlsli"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THAT([&] { ShaderCompile::compileFromMemory("test.hlsl", c.source, "main", "ps_5_0"); },
                testing::ThrowsMessage<std::exception>(AllOf(
                    HasSubstr("shaderc_compile_into_spv() failed\n\n[Note]\n"),
                    HasSubstr(c.message),
                    HasSubstr("Media::ShaderCompile::compileFromMemory()"))));
  }
  EXPECT_THAT([] { ShaderCompile::compileFromMemory("test.hlsl", "", "main", "gs_5_0"); },
              testing::ThrowsMessage<std::exception>(
                  HasSubstr("shaderc_compile_into_spv() failed.")));
}

TEST(ShaderReflectionTest, CodeThatIsNotSpirvIsRefused) {
  const uint32_t garbage[8] = {0xDEADBEEF, 1, 2, 3, 4, 5, 6, 7};
  EXPECT_THAT([&] { ShaderCompile::getShaderReflection(garbage, sizeof(garbage)); },
              testing::ThrowsMessage<std::exception>(AllOf(
                  HasSubstr("spvc_context_parse_spirv() failed"),
                  HasSubstr("Media::ShaderCompile::getShaderReflection()"))));
  // An instruction whose length runs past the end.
  const auto code = ShaderCompile::compileFromMemory(
      "test.hlsl", "float4 main() : SV_Target { return 1; }", "main", "ps_5_0");
  std::vector<uint32_t> words(code->words().begin(), code->words().end());
  words.resize(words.size() - 1);
  EXPECT_THAT([&] { ShaderCompile::getShaderReflection(words.data(), words.size() * 4); },
              testing::ThrowsMessage<std::exception>(HasSubstr("spvc_context_parse_spirv() failed")));
  EXPECT_THAT([&] { ShaderCompile::getShaderReflection(words.data(), 6); },
              testing::ThrowsMessage<std::exception>(HasSubstr("spvc_context_parse_spirv() failed.")));
}

}  // namespace
