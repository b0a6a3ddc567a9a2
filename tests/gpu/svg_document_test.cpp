// SVG figures: which drawings count as one colour, how they are recoloured and sized, and
// what happens to files that are not drawings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "gpu/gpu_test_support.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/svg/svg_document.h"
#include "gpu/svg/svg_paint.h"

namespace {

using Media::SvgDocument;
using TestSupport::GpuTest;
using TestSupport::halfPixel;
using TestSupport::nearHalf;

namespace fs = std::filesystem;

// A square of 10 x 10 user units in a 10 x 10 view box, filled as given.
std::string square(const std::string& attributes, const std::string& rootAttributes = "") {
  return "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10' " + rootAttributes +
         "><rect x='0' y='0' width='10' height='10' " + attributes + "/></svg>";
}

class SvgFiles : public GpuTest {
 protected:
  void SetUp() override {
    GpuTest::SetUp();
    direct2D_.emplace();
    folder_ = fs::temp_directory_path() / ("velumo-svg-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::remove_all(folder_);
    direct2D_.reset();
    GpuTest::TearDown();
  }
  std::string write(const std::string& name, const std::string& text) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  fs::path folder_;
  std::optional<System::ServiceHolder<Media::Direct2DService>> direct2D_;
};

TEST(SvgDocumentTest, OneColourIsFoundAcrossElementsAndPaintKinds) {
  struct Case {
    const char* what;
    std::string text;
    bool monochrome;
  };
  const Case cases[] = {
      {"one colour in two spellings", "<svg><rect fill='#f00'/><circle fill='red'/></svg>", true},
      {"red and blue", "<svg><rect fill='#ff0000'/><rect fill='#0000ff'/></svg>", false},
      // Black is a colour like any other: black and red are two.
      {"black and red", "<svg><rect fill='black'/><rect fill='#ff0000'/></svg>", false},
      {"alpha is not compared", "<svg><rect fill='rgba(255,0,0,0.5)'/><rect fill='#ff0000'/></svg>", true},
      {"the style wins over the attribute",
       "<svg><rect fill='#0000ff' style='fill: #ff0000'/><rect fill='#ff0000'/></svg>", true},
      {"gradients and none are not colours",
       "<svg><rect fill='url(#g)'/><rect fill='none'/><rect fill='#00ff00'/></svg>", true},
      {"nested elements", "<svg><g fill='#00ff00'><g><rect fill='#0000ff'/></g></g></svg>", false},
      {"no fill at all", "<svg><rect/></svg>", true},
  };
  for (const auto& c : cases) {
    SvgDocument document(c.text, c.what);
    EXPECT_EQ(document.monochrome(), c.monochrome) << c.what;
  }
}

TEST(SvgDocumentTest, RecolouringKeepsEachFillsAlphaAndWhereItIsWritten) {
  SvgDocument document(
      "<svg><rect fill='rgba(0,255,0,0.25)'/><rect style='stroke:red;fill:#00ff00'/>"
      "<rect fill='none'/></svg>",
      "fills");
  ASSERT_TRUE(document.monochrome());
  SvgDocument::setColor(document.root(), {1.0f, 0.0f, 0.0f, 1.0f});
  xmlNode* first = xmlFirstElementChild(document.root());
  xmlNode* second = xmlNextElementSibling(first);
  xmlNode* third = xmlNextElementSibling(second);
  EXPECT_EQ(*Media::SvgPaint::fillOf(first), "rgba(255,0,0,0.25)");
  EXPECT_EQ(*Media::SvgPaint::fillOf(second), "#ff0000");
  EXPECT_EQ(*Media::SvgPaint::fillOf(third), "none");
}

TEST(SvgDocumentTest, ADrawingWithoutColourFillsIsFilledWhiteFromTheRoot) {
  SvgDocument document("<svg><rect/></svg>", "plain");
  EXPECT_EQ(Media::SvgPaint::fillOf(document.root()), "#ffffff");
  SvgDocument coloured("<svg><rect fill='#123456'/></svg>", "coloured");
  EXPECT_FALSE(Media::SvgPaint::fillOf(coloured.root()).has_value());
}

TEST(SvgDocumentTest, PaintTextsThatAreAndAreNotColours) {
  struct Case {
    const char* text;
    bool colour;
    Media::Color::Rgba expected;
  };
  const Case cases[] = {
      {"#f00", true, {1, 0, 0, 1}},        {" #00FF00 ", true, {0, 1, 0, 1}},
      {"#0000ff80", true, {0, 0, 1, 128 / 255.0f}}, {"rgb(0, 0, 255)", true, {0, 0, 1, 1}},
      {"rgb(100%,0%,0%)", true, {1, 0, 0, 1}},      {"RGBA(0,255,0,0.5)", true, {0, 1, 0, 0.5f}},
      {"white", true, {1, 1, 1, 1}},       {"none", false, {}},
      {"url(#a)", false, {}},              {"currentColor", false, {}},
      {"#ggg", false, {}},                 {"#12345", false, {}},
      {"#123456789abcdef", false, {}},
      {"rgb(1,2)", false, {}},             {"rgb(1,2,x)", false, {}},
      {"nosuchcolour", false, {}},         {"", false, {}},
  };
  for (const auto& c : cases) {
    const auto colour = Media::SvgPaint::parseColor(c.text);
    ASSERT_EQ(colour.has_value(), c.colour) << c.text;
    if (!colour) continue;
    EXPECT_NEAR(colour->red, c.expected.red, 1e-6) << c.text;
    EXPECT_NEAR(colour->green, c.expected.green, 1e-6) << c.text;
    EXPECT_NEAR(colour->blue, c.expected.blue, 1e-6) << c.text;
    EXPECT_NEAR(colour->alpha, c.expected.alpha, 1e-6) << c.text;
  }
}

TEST(SvgDocumentTest, TextThatIsNotAnSvgDocumentIsRefused) {
  const char* texts[] = {
      "", "not xml at all", "<html><body/></html>", "<svg><rect></svg>",
      // Entity declarations could expand without bound.
      "<!DOCTYPE svg [<!ENTITY a 'aaaa'>]><svg><text>&a;</text></svg>",
  };
  for (const char* text : texts) {
    try {
      SvgDocument document(text, "bad");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::exception& failure) {
      EXPECT_NE(std::string(failure.what()).find(
                    "Direct3DService::Get().d2dContext->CreateSvgDocument"),
                std::string::npos)
          << failure.what();
    }
  }
}

TEST(SvgDocumentTest, TheExtensionDecidesWhatIsAnSvgFile) {
  EXPECT_TRUE(SvgDocument::isSvgFile("/a/figure.svg"));
  EXPECT_TRUE(SvgDocument::isSvgFile("/a/FIGURE.SVG"));
  EXPECT_FALSE(SvgDocument::isSvgFile("/a/figure.svgz"));
  EXPECT_FALSE(SvgDocument::isSvgFile("/a.svg/figure"));
  EXPECT_FALSE(SvgDocument::isSvgFile("svg"));
}

TEST_F(SvgFiles, MissingBrokenAndOversizedFilesAreNotDrawings) {
  EXPECT_TRUE(SvgDocument::checkFile(write("good.svg", square("fill='#ff0000'"))));
  EXPECT_FALSE(SvgDocument::checkFile((folder_ / "missing.svg").string()));
  EXPECT_FALSE(SvgDocument::checkFile(folder_.string()));
  EXPECT_FALSE(SvgDocument::checkFile(write("broken.svg", "<svg><rect")));
  const std::string huge = write("huge.svg", std::string(SvgDocument::kMaxFileBytes + 1, ' '));
  try {
    SvgDocument document(huge);
    ADD_FAILURE() << "a file over the limit was read";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("SHCreateStreamOnFileEx"), std::string::npos);
  }
  // Drawing a file that is not a drawing gives no image, not a blank one.
  EXPECT_EQ(SvgDocument::setSize(write("broken2.svg", "<svg"), 8, 8, {1, 0, 0, 1}, 0), nullptr);
}

TEST_F(SvgFiles, AOneColourDrawingTakesTheColourAndKeepsItsAlpha) {
  const auto image = SvgDocument::setSize(
      write("one.svg", square("fill='#00ff00' fill-opacity='1' style='fill:rgba(0,255,0,0.5)'")),
      10, 10, {1.0f, 0.0f, 0.0f, 1.0f}, 0);
  ASSERT_NE(image, nullptr);
  const auto pixels = image->readBack();
  // Red at half coverage, premultiplied.
  EXPECT_TRUE(nearHalf(halfPixel(*pixels, 5, 5), {0.5f, 0.0f, 0.0f, 0.5f}))
      << halfPixel(*pixels, 5, 5)[0] << " " << halfPixel(*pixels, 5, 5)[3];
}

TEST_F(SvgFiles, ATwoColourDrawingKeepsItsColours) {
  const std::string text =
      "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
      "<rect x='0' y='0' width='5' height='10' fill='#ff0000'/>"
      "<rect x='5' y='0' width='5' height='10' fill='#0000ff'/></svg>";
  const auto image = SvgDocument::setSize(write("two.svg", text), 20, 20, {0, 1, 0, 1}, 0);
  ASSERT_NE(image, nullptr);
  const auto pixels = image->readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*pixels, 3, 5), {1, 0, 0, 1}));
  EXPECT_TRUE(nearHalf(halfPixel(*pixels, 16, 5), {0, 0, 1, 1}));
}

TEST_F(SvgFiles, ShapesWithoutAFillAreDrawnInTheGivenColour) {
  const auto image = SvgDocument::setSize(write("plain.svg", square("")), 10, 10, {0, 0, 1, 1}, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(nearHalf(halfPixel(*image->readBack(), 5, 5), {0, 0, 1, 1}));
}

// A drawing that gives its own size is stretched over the requested one through its view
// box; without a size it fills the viewport as well.
TEST_F(SvgFiles, TheDrawingFillsTheRequestedSize) {
  for (const char* root : {"width='10' height='10'", ""}) {
    const auto image =
        SvgDocument::setSize(write("sized.svg", square("fill='#ffffff'", root)), 40, 40, {1, 1, 1, 1}, 0);
    ASSERT_NE(image, nullptr) << root;
    const auto pixels = image->readBack();
    EXPECT_EQ(image->width(), 40u);
    for (uint32_t at : {0u, 20u, 39u})
      EXPECT_TRUE(nearHalf(halfPixel(*pixels, at, at), {1, 1, 1, 1})) << root << " at " << at;
  }
}

}  // namespace
