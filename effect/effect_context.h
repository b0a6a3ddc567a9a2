#pragma once
// The processing context of one object: what the render engine hands to every processing
// operation of an effect. It says which scene, layer, frame and object are being processed,
// where the instant lies in the object's sections, which objects act on it, how it is drawn,
// and which render resources of the frame it may use.
//
// A context is never shared between threads; whoever needs one elsewhere copies it. A copy
// shares the object, the chain, the links and the buffers with its source.
#include <cstdint>
#include <memory>
#include <vector>

#include "effect/outer_types.h"
#include "effect/output_view.h"
#include "effect/section_position.h"

namespace Effect {

// What an audio pass keeps where a video pass keeps the object's view.
struct AudioState {
  float gainLeft = 1.0f;  // the audio outputs multiply these by their volume and pan
  float gainRight = 1.0f;
  std::shared_ptr<Edit::Object> groupAudioControl;  // the governing group audio control
  Media::AudioBuffer* target = nullptr;             // the frame's mix, not owned
  int audioRate = 0;                                // the scene's audio rate
  int64_t objectSample = 0;  // first sample of the pass, counted from the object's start
  int64_t sceneSample = 0;   // the same counted from the scene's start
  int sampleCount = 0;       // samples the pass mixes
};

using ObjectChain = std::vector<std::shared_ptr<Edit::Object>>;

class EffectContext {
 public:
  EffectContext() = default;
  EffectContext(const EffectContext& other) = default;
  EffectContext& operator=(const EffectContext& other) = default;
  // Releases the pre-input data, the vertex list, the view's links, the chain and the
  // object, in this order.
  ~EffectContext();

  // Holds `object` with its frames (Edit::Object::frames()) from now on (the previous one is
  // released) and recomputes the section position from them, the context's frame and its
  // time. An empty object leaves the position of an empty section.
  void setObject(std::shared_ptr<Edit::Object> object, const ObjectFrames& frames);
  // The form used while walking an object chain: nothing happens when `object` is already
  // the context's object.
  void changeObject(const std::shared_ptr<Edit::Object>& object, const ObjectFrames& frames);

  Edit::Scene* scene = nullptr;  // not owned
  int layerIndex = 0;
  int frame = 0;
  // The instant being evaluated, in frames. Equal to the frame unless an effect samples
  // another instant; whoever moves it recomputes the section position.
  double time = 0.0;
  int frameOffset = 0;  // added to the frame where inputs locate their media frame
  std::shared_ptr<Edit::Object> object;
  ObjectFrames objectFrames;        // of `object`, borrowed from it
  SectionPosition sectionPosition;  // of `object` at `time`
  // The object and the filter objects on the following layers that act on it.
  std::shared_ptr<ObjectChain> objectChain;
  OutputView outputView;  // video passes
  AudioState audio;       // audio passes
  std::shared_ptr<Media::VertexList> vertexList;
  Anchor::AnchorList* anchorList = nullptr;  // only for frames of the editing preview
  Render::ResourceCache* resourceCache = nullptr;
  std::shared_ptr<void> preInputData;  // what a pre-input step leaves for its input step
  int partIndex = 0;  // which individual part is being drawn
  int partCount = 1;  // how many parts the object is drawn as
  bool output2D = false;          // a filter already drew the object through the camera
  // The picture is a frame-sized image drawn through the camera (set with output2D); a copy
  // that filters the object's pieces hands it back to the context it came from.
  bool frameImage = false;
  bool individualParts = false;   // drawn as several parts, or by a filter
  bool transformApplied = false;  // rotation, centre, zoom and aspect already applied
  bool positionApplied = false;   // position already applied
  bool cameraIcon = false;        // the camera control adds its icon handle
  bool clippingIcon = false;      // the anchor effects add the clipping icon handle
  bool firstCameraScope = true;     // cleared when a pass closes its first camera scope
  bool firstClippingObject = true;  // cleared once a pass placed its first clipping object
  bool noFilterAnchors = false;     // the object task skips the filters' handles
  bool controlAnchors = false;      // set on a control step's copy that adds handles
};

}  // namespace Effect
