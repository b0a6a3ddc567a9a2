#pragma once
// An SVG file read for drawing as a figure.
//
// The document is parsed into an element tree whose fills can be inspected and recoloured:
// a drawing whose fills all share one colour is "monochrome" and takes the object's colour
// instead. Drawing renders the (possibly recoloured) tree with librsvg into a GPU image of
// any size. A document lives only as long as the operation that parsed it; each drawing
// parses the file anew.
#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <cairo.h>

#include "gpu/image/color.h"

namespace Media {

class ResourceBuffer;

class SvgDocument {
 public:
  // Larger files are refused before they are read: a figure is a drawing, not a data set.
  static constexpr uint64_t kMaxFileBytes = 32ull << 20;
  static constexpr const char* kPlace = "Media::SvgDocument::SvgDocument";

  // The colour the fills have been found to share: `recorded` is false until a first
  // colour is met (black included: a black-and-red drawing has two colours).
  struct RecordedColor {
    Color::Rgba colour{0.0f, 0.0f, 0.0f, 0.0f};
    bool recorded = false;
  };

  // Reads and parses the file. An unreadable or too large file throws
  // "SHCreateStreamOnFileEx", text that is not an SVG document
  // "Direct3DService::Get().d2dContext->CreateSvgDocument", both at kPlace. When no fill
  // colour was found the root is given a white fill, which every unfilled shape inherits.
  explicit SvgDocument(const std::string& path);
  // The same from bytes already in memory (`name` only names them in errors).
  SvgDocument(std::string_view bytes, const std::string& name);
  SvgDocument(const SvgDocument&) = delete;
  SvgDocument& operator=(const SvgDocument&) = delete;
  ~SvgDocument();

  bool monochrome() const { return monochrome_; }
  // The root element gives its own "width" or "height".
  bool explicitSize() const { return explicitSize_; }

  // True when the path's extension, in any case, is "svg".
  static bool isSvgFile(std::string_view path);
  // True when the file parses as a document.
  static bool checkFile(const std::string& path);
  // Whether every colour fill of the element and its descendants has the recorded colour's
  // red, green and blue; the first colour met is recorded. Paints that are not colours
  // (gradients, "none") are not counted.
  static bool checkMonochrome(xmlNode* element, RecordedColor& recorded);
  // Gives every colour fill of the element and its descendants the colour's red, green and
  // blue, keeping each fill's own alpha.
  static void setColor(xmlNode* element, const Color::Rgba& colour);

  xmlNode* root() const;
  // Sets the root's "width" and "height", so that the drawing stretches over the viewport.
  void setRootSize(float width, float height);
  // Draws the document into a viewport of width x height at the context's origin. A failure
  // throws "DrawSvgDocument" at "Media::SvgDocument::draw".
  void draw(cairo_t* context, double width, double height) const;

  // The file drawn at width x height into a new GPU image of the format (0: the device's
  // pixel format), recoloured when it is monochrome. A file that cannot be read, parsed or
  // drawn gives no image (logged at WARN); a size the GPU image refuses throws.
  static std::unique_ptr<ResourceBuffer> setSize(const std::string& path, int32_t width,
                                                 int32_t height, const Color::Rgba& colour,
                                                 int32_t format);

 private:
  struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
  };
  void parse(std::string_view bytes, const std::string& name);

  std::unique_ptr<xmlDoc, DocumentDeleter> document_;
  bool monochrome_ = false;
  bool explicitSize_ = false;
};

}  // namespace Media
