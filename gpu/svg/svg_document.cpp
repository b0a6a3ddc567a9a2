#include "gpu/svg/svg_document.h"

#include <librsvg/rsvg.h>
#include <libxml/parser.h>

#include <charconv>
#include <cstring>
#include <string>

#include "gpu/direct3d_service.h"
#include "gpu/draw2d/resource_surface.h"
#include "gpu/hresult.h"
#include "gpu/resource_buffer.h"
#include "gpu/svg/svg_paint.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/log.h"

namespace Media {
namespace {

constexpr const char* kParseCall = "Direct3DService::Get().d2dContext->CreateSvgDocument";

bool isElement(const xmlNode* node) { return node && node->type == XML_ELEMENT_NODE; }

bool hasAttribute(xmlNode* element, const char* name) {
  return xmlHasProp(element, reinterpret_cast<const xmlChar*>(name)) != nullptr;
}

std::string formatFloat(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

struct HandleDeleter {
  void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
struct ErrorDeleter {
  void operator()(GError* error) const { g_error_free(error); }
};
struct XmlBufferDeleter {
  void operator()(xmlChar* bytes) const { xmlFree(bytes); }
};

}  // namespace

SvgDocument::SvgDocument(const std::string& path) {
  std::string bytes;
  try {
    System::File file;
    file.open(path, System::File::Read);
    const uint64_t size = file.size();
    if (size > kMaxFileBytes)
      throw System::makeHresultException("SHCreateStreamOnFileEx", kPlace, Hresult::kOutOfMemory);
    bytes.resize(static_cast<std::size_t>(size));
    file.readBlock(bytes.data(), bytes.size());
  } catch (const System::Exception&) {
    throw System::makeHresultException("SHCreateStreamOnFileEx", kPlace, Hresult::kFail);
  }
  parse(bytes, path);
}

SvgDocument::SvgDocument(std::string_view bytes, const std::string& name) { parse(bytes, name); }

SvgDocument::~SvgDocument() = default;

void SvgDocument::parse(std::string_view bytes, const std::string& name) {
  if (bytes.size() > kMaxFileBytes)
    throw System::makeHresultException("SHCreateStreamOnFileEx", kPlace, Hresult::kOutOfMemory);
  // No network, no messages on standard error; entities stay references and nesting keeps
  // the parser's default depth limit.
  document_.reset(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  xmlNode* top = document_ ? xmlDocGetRootElement(document_.get()) : nullptr;
  // A document type with declarations of its own can expand entities without bound: a
  // drawing has no need of them.
  const bool ownDeclarations = document_ && document_->intSubset && document_->intSubset->children;
  if (!top || std::strcmp(reinterpret_cast<const char*>(top->name), "svg") != 0 || ownDeclarations) {
    System::Log::warn(kPlace, "not an svg document : %s", name.c_str());
    throw System::makeHresultException(kParseCall, kPlace, Hresult::kInvalidArgument);
  }

  RecordedColor recorded;
  monochrome_ = checkMonochrome(top, recorded);
  if (!recorded.recorded) SvgPaint::setFill(top, "#ffffff");
  explicitSize_ = hasAttribute(top, "width") || hasAttribute(top, "height");
}

xmlNode* SvgDocument::root() const { return xmlDocGetRootElement(document_.get()); }

bool SvgDocument::isSvgFile(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos || path.size() - dot != 4) return false;
  std::string extension(path.substr(dot + 1));
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension == "svg";
}

bool SvgDocument::checkFile(const std::string& path) {
  try {
    SvgDocument document(path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool SvgDocument::checkMonochrome(xmlNode* element, RecordedColor& recorded) {
  if (const auto fill = SvgPaint::fillOf(element)) {
    if (const auto colour = SvgPaint::parseColor(*fill)) {
      const bool same = recorded.recorded && colour->red == recorded.colour.red &&
                        colour->green == recorded.colour.green &&
                        colour->blue == recorded.colour.blue;
      if (!same) {
        if (recorded.recorded) return false;  // a second colour
        recorded.colour = *colour;
        recorded.recorded = true;
      }
    }
  }
  for (xmlNode* child = element->children; child; child = child->next)
    if (isElement(child) && !checkMonochrome(child, recorded)) return false;
  return true;
}

void SvgDocument::setColor(xmlNode* element, const Color::Rgba& colour) {
  if (const auto fill = SvgPaint::fillOf(element)) {
    if (const auto own = SvgPaint::parseColor(*fill))
      SvgPaint::setFill(element, SvgPaint::formatColor({colour.red, colour.green, colour.blue, own->alpha}));
  }
  for (xmlNode* child = element->children; child; child = child->next)
    if (isElement(child)) setColor(child, colour);
}

void SvgDocument::setRootSize(float width, float height) {
  xmlNode* top = root();
  xmlSetProp(top, reinterpret_cast<const xmlChar*>("width"),
             reinterpret_cast<const xmlChar*>(formatFloat(width).c_str()));
  xmlSetProp(top, reinterpret_cast<const xmlChar*>("height"),
             reinterpret_cast<const xmlChar*>(formatFloat(height).c_str()));
}

void SvgDocument::draw(cairo_t* context, double width, double height) const {
  constexpr const char* kDrawPlace = "Media::SvgDocument::draw";
  xmlChar* written = nullptr;
  int size = 0;
  xmlDocDumpMemory(document_.get(), &written, &size);
  const std::unique_ptr<xmlChar, XmlBufferDeleter> text(written);
  if (!text || size <= 0)
    throw System::makeHresultException("DrawSvgDocument", kDrawPlace, Hresult::kOutOfMemory);

  GError* rawError = nullptr;
  const std::unique_ptr<RsvgHandle, HandleDeleter> handle(
      rsvg_handle_new_from_data(text.get(), static_cast<gsize>(size), &rawError));
  std::unique_ptr<GError, ErrorDeleter> error(rawError);
  if (!handle) {
    System::Log::warn(kDrawPlace, "svg not drawn : %s", error ? error->message : "");
    throw System::makeHresultException("DrawSvgDocument", kDrawPlace, Hresult::kInvalidArgument);
  }
  const RsvgRectangle viewport{0.0, 0.0, width, height};
  rawError = nullptr;
  if (!rsvg_handle_render_document(handle.get(), context, &viewport, &rawError)) {
    error.reset(rawError);
    System::Log::warn(kDrawPlace, "svg not drawn : %s", error ? error->message : "");
    throw System::makeHresultException("DrawSvgDocument", kDrawPlace, Hresult::kFail);
  }
}

std::unique_ptr<ResourceBuffer> SvgDocument::setSize(const std::string& path, int32_t width,
                                                     int32_t height, const Color::Rgba& colour,
                                                     int32_t format) {
  if (format == 0) format = Direct3DService::Get().pixelFormat;
  auto buffer = std::make_unique<ResourceBuffer>(width, height, format);
  buffer->createRenderTargetView();
  const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  buffer->clearRenderTarget(transparent);

  ResourceBuffer::Surface surface(*buffer);
  try {
    SvgDocument document(path);
    if (document.monochrome()) setColor(document.root(), colour);
    if (document.explicitSize())
      document.setRootSize(static_cast<float>(width), static_cast<float>(height));
    document.draw(surface.target().context(), width, height);
    surface.endDraw();
  } catch (const std::exception& failure) {
    System::Log::warn("Media::SvgDocument::setSize", "svg file not drawn : %s\n%s", path.c_str(),
                      failure.what());
    return nullptr;
  }
  return buffer;
}

}  // namespace Media
