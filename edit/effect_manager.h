#pragma once
// The effect chain at the head of every object: the effects in processing and display
// order, and the flag that says the chain's control effect governs the layers below.
//
// Shape of a chain: a media object holds its input at position 0, its output at position 1
// and its filters behind; a filter object holds filters only; a control object its control
// effect, then filters. The operations below keep that shape: every effect goes to the place
// its kind belongs, and a filter must suit the media of the chain's first effect.
//
// Chain operations are mechanical model operations: they take no lock, record no undo and
// fire no events. Commands wrap them in an edit-update scope. The operations that return a
// pointer into the chain give one that stays valid only until the chain changes again.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "effect/effect_item_number.h"
#include "system/ini_file.h"

namespace Effect {
class EffectBase;
class EffectDefine;
}  // namespace Effect

namespace Edit {

class Object;
class Scene;

// The number items' values recorded at a frame (splits, new midpoints, joins): per item the
// value in display units, and the point index the new value belongs at, -1 when none. The
// items look themselves up in it when they take their values for new or rewritten points.
using SectionValue = Effect::SectionValue;
using SectionValueMap = Effect::SectionValueMap;

class EffectManager {
 public:
  using EffectList = std::vector<std::shared_ptr<Effect::EffectBase>>;

  // What getObjectType gives: the timeline colours objects by it.
  enum ObjectType : int {
    VideoObject = 1,
    AudioObject = 2,
    VideoAudioObject = 3,
    VideoFilterObject = 4,
    AudioFilterObject = 5,
    OtherFilterObject = 6,
    ControlObject = 7,
  };

  EffectManager() = default;
  EffectManager(const EffectManager&) = delete;
  EffectManager& operator=(const EffectManager&) = delete;
  virtual ~EffectManager() = default;

  // True while the chain's control effect is a group or camera control: the object then
  // governs a range of the layers below it. Copied with the chain.
  bool controlFlag = false;
  // The chain, in processing and display order.
  EffectList effects;

  // Whether an effect of media type `media` may stand in a chain whose first effect has
  // target type `target`: the same value, media 0, video or audio targets with media 3,
  // a video-and-audio target with anything but camera lights.
  static bool fitsTargetType(uint8_t target, uint8_t media);

  // Puts a new instance of the definition where its kind belongs: input, output, filter or
  // control. Throws "invalid effect type." for any other kind (aliases among them).
  std::shared_ptr<Effect::EffectBase>* setEffectByDefine(const Effect::EffectDefine& define);
  // An input at position 0: on an empty chain with the output that goes with it; the same
  // kind again changes nothing and keeps its values; another input replaces it, keeping
  // output and filters (fitEffectsToInput settles their fit afterwards).
  std::shared_ptr<Effect::EffectBase>* setInputEffect(const Effect::EffectDefine& define);
  // An output at position 1: on an empty chain after the input the output names as its
  // default; the same kind again changes nothing; another output replaces it.
  std::shared_ptr<Effect::EffectBase>* setOutputEffect(const Effect::EffectDefine& define);
  // A filter appended at the end (the first effect of a filter object on an empty chain).
  std::shared_ptr<Effect::EffectBase>* setFilterEffect(const Effect::EffectDefine& define);
  // A control effect: on an empty chain, or in place of a scene change and its filters.
  std::shared_ptr<Effect::EffectBase>* setControlEffect(const Effect::EffectDefine& define);

  // The registered effect of that name put into the chain with the user's default values,
  // sized to the object's points, and moved up behind `after` when it is a filter (see
  // placeAfter). A new instance takes the defaults; an existing one that stays (the same
  // input or output again) keeps its values. On any failure the chain is as it was.
  std::shared_ptr<Effect::EffectBase>* setEffectByName(std::string_view name,
                                                       const Effect::EffectBase* after);
  // As setEffectByName, but the values and flags come from an effect section of a file
  // instead of the defaults (also into an input or output that stays in its place), and the
  // points are those of `object`.
  std::shared_ptr<Effect::EffectBase>* loadEffectByName(std::string_view name,
                                                        const System::IniFile::SectionRef& section,
                                                        const Object& object,
                                                        const Effect::EffectBase* after);

  // After the first effect was replaced: drops the effects behind it that no longer suit
  // its media, then puts the output that goes with an input at position 1 when it has none.
  void fitEffectsToInput();

  // Asks every number item of the effect to hold one value per point of an object with
  // `sectionCount` sections (a movement with a fixed value count keeps its count).
  static void setSectionNum(Effect::EffectBase& effect, int sectionCount);

  // Makes `target`'s chain an independent copy of this one: for each effect a fresh
  // instance of the same registered kind (found by its name), with the item values and the
  // switched-off, folded and locked flags copied; then the control flag. The copy shares no
  // effect with this chain. On a failure (an effect the registry does not know, items that
  // do not match) the target keeps its chain.
  void copyEffects(EffectManager& target) const;

  // Records every number item of this chain at frame `frame` of `object` (the object that
  // owns this chain): its value there, in display units. With `straight` set a time-controlled
  // track is read on the straight line between the two points around the frame.
  void copySectionValues(SectionValueMap& out, Scene& scene, const std::shared_ptr<Object>& object,
                         int frame, bool straight) const;
  // Records every number item's value at point `pointIndex` of `owner` (the end value for
  // an index past the last boundary), under the item itself, or under the item at the same
  // effect and item position of `other`'s chain when `other` is given.
  void copyPointValues(SectionValueMap& out, const Object& owner, int pointIndex,
                       const EffectManager* other) const;

  // 1 video, 2 audio, 3 video-and-audio object (by the output's media), 4 video filter, 5
  // audio filter, 6 other filter object (by the first filter's media), 7 control object.
  // Throws "not exist effect." for an empty chain and "illegal top effect." when the first
  // effect is an output or of no known kind.
  int getObjectType() const;

 protected:
  // The section count of the object that carries the chain; 1 for a bare chain.
  virtual int chainSectionCount() const { return 1; }

 private:
  // Moves the last effect, a filter, forward until it stands directly behind `after` or
  // behind the nearest effect that is not a filter.
  std::shared_ptr<Effect::EffectBase>* placeAfter(std::shared_ptr<Effect::EffectBase>* entry,
                                                  const Effect::EffectBase* after);
  // setEffectByName and loadEffectByName: `fill` gives a new instance its values, and with
  // `fillKept` also an instance that stayed in its place (the same input or output again).
  template <class Fill>
  std::shared_ptr<Effect::EffectBase>* putEffect(std::string_view name, int sectionCount,
                                                 const Effect::EffectBase* after, bool fillKept,
                                                 Fill fill);
};

}  // namespace Edit
