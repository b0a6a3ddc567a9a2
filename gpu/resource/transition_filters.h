#pragma once
// The clipping and blur routines that the wipes borrow from the built-in filters.
//
// The filters live above the drawing layer, so the layer reaches them through this one
// interface, installed by the program's entry point once the filters exist. Without them
// the default answers every call as a missing built-in effect does.
#include <memory>

namespace Media {
class ResourceBuffer;
}

namespace Resource {

class TransitionFilters {
 public:
  virtual ~TransitionFilters() = default;
  // The fan clipping filter: clears the fan `angle` degrees wide (clockwise) that starts at
  // `startAngle`, around the centre moved by (centerX, centerY), its edge blurred by `blur`.
  virtual void fanClip(Media::ResourceBuffer& buffer, float startAngle, float angle,
                       float centerX, float centerY, int blur, bool centring);
  // The line clipping filter: clears the side of the line through the centre moved by
  // (offsetX, offsetY) at `angle` degrees, leaving a band `width` wide.
  virtual void lineClip(Media::ResourceBuffer& buffer, float angle, float width, float offsetX,
                        float offsetY, int blur);
  // The blur filter's routine: the blurred image.
  virtual std::unique_ptr<Media::ResourceBuffer> blur(Media::ResourceBuffer& buffer, int size,
                                                      float aspect, int mode);
};

// The installed routines, or the default that throws "default effect not found" at
// "Effect::EffectService::getDefaultEffect" with the effect's name as note.
TransitionFilters& transitionFilters();
void setTransitionFilters(TransitionFilters* filters);

}  // namespace Resource
