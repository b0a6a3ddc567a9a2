#pragma once
// A numeric parameter that may change over its object's time: a position, a size, an angle.
//
// The item is a track. It keeps one integer per point of its object (its start, each
// midpoint, its end) in units of its step, and a movement kind that says how the value
// travels between those points. A track without movement keeps a single value; a kind with
// a fixed count keeps exactly that many; a track that ignores midpoints keeps two (start
// and end). The movement's options (accelerate, decelerate, ignore midpoints), its
// parameters and, for time-controlled kinds, an easing curve belong to the track and to its
// text form in project files:
//     100                                      a track without movement (step 1)
//     0.00,50.00,<movement>,<flags>|<params>|<easing curve>
// Values, movement and flags change on the UI thread inside an edit-update scope; the
// render workers read the track under the shared edit lock and never change it.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "effect/effect_item.h"
#include "effect/section_position.h"
#include "system/xmath.h"

namespace Effect {

class EffectContext;
class EffectItemNumber;
class MovementBase;
class MovementDefine;

// A value recorded at a frame before the object changes: the display value and the point
// index it belongs to (-1 when none). The edit model fills a map of them before a split, a
// new midpoint or a join, and the tracks take their new values from it.
struct SectionValue {
  double value = 0.0;
  int pointIndex = -1;
};
using SectionValueMap = std::unordered_map<const EffectItemNumber*, SectionValue>;

// The items that move together: an effect's X, Y and Z position items.
using NumberItemList = std::vector<EffectItemNumber*>;

// Applied to the list of movements when the track's movement menu is built.
using MovementListHook = std::function<void(std::vector<const MovementDefine*>& movements)>;

class EffectItemNumber : public EffectItem {
 public:
  enum Flag : int {
    FlagAccelerate = 1,
    FlagDecelerate = 2,
    FlagIgnoreMidpoints = 4,
  };
  // The bits a track's flags may carry; a track text's other bits are dropped.
  static constexpr int kFlagMask = FlagAccelerate | FlagDecelerate | FlagIgnoreMidpoints;
  // The point index of an anchor event that addresses every point at once.
  static constexpr int kEveryPoint = 100000000;
  // Bounds on what a track text may ask for. Nothing is allocated for a text that exceeds
  // them: it is refused as an invalid parameter.
  static constexpr std::size_t kMaxValueCount = std::size_t{1} << 20;  // points of an object
  static constexpr std::size_t kMaxListCount = 4096;  // movement params, easing-curve numbers

  // `defaultValue`, `minimum`, `maximum` and `step` are display values. The scale is
  // round(1 / step); a step that gives no scale of at least 1 (zero, negative, not a
  // number, above 2) counts as a step of 1, so that display values never divide by zero.
  // The track starts without movement, holding the default.
  EffectItemNumber(EffectItemList& items, std::string_view name, double defaultValue,
                   double minimum, double maximum, double step);
  EffectItemNumber(const EffectItemNumber&) = default;

  // Takes a movement of fixed value count and sizes the values to it (new entries hold the
  // default). A kind with one value per point keeps the values as they are: the edit
  // command that sets it resizes them with the object's point count.
  void setMovement(const MovementBase& newMovement);
  // Sizes the values for an object of `pointCount` points (midpoints + 2): the movement's
  // fixed count, else 2 while midpoints are ignored, else one per point. Surplus values go
  // from the second-to-last backwards (the last stays last); missing ones repeat the last.
  // A track never drops below one value.
  void resizeValues(int pointCount);
  // After the movement changed: the accelerate, decelerate and ignore-midpoints bits follow
  // the movement's options (resizing the values when one changed), and the easing curve
  // and the params become the movement's defaults.
  void updateMovementFlags(const ObjectFrames& object);
  // The params, first reset to the movement's defaults when their count differs.
  const std::vector<double>& getMovementParams();
  // The destination takes this track's movement, easing curve, params and flags, and as
  // many values as this track has (new entries 0); its default, range and scale stay.
  void copyTrackSettings(EffectItemNumber& destination) const;

  // A point index as a value index: at most the last; throws "item value index out of
  // range." when the track holds no value at all.
  int clampValueIndex(int index) const;
  // The value at a point index (clamped as above), in display units.
  double getDisplayValue(int index) const;

  // Stores a display value at a value index (nothing for an index outside the values).
  // Stored values stay inside the range: a value above the maximum stores the maximum,
  // one below the minimum the minimum, a value that is not a number stores 0 (clamped).
  void setValue(double value, int index);
  // The preview's edit of the value at a point of `object` (kEveryPoint: every value).
  void setCurrentValue(const ObjectFrames& object, int pointIndex, double value);
  // As setCurrentValue, adding a display delta (rounded to the step before it is added);
  // true when a value changed.
  bool addValue(const ObjectFrames& object, int pointIndex, double delta);
  // The value for a new midpoint inside section `pointIndex`: recorded (not clamped) when
  // `recorded` holds this track, else the default. Only for kinds with a value per point
  // while midpoints count.
  void insertSectionValue(int pointIndex, const SectionValueMap* recorded);
  // Overwrites the value at a point with the recorded one, or the default.
  void setSectionValue(int pointIndex, const SectionValueMap* recorded);

  // The value at the context's time, in display units.
  double getValue(const EffectContext& context) const;
  // The value at another instant of the context's object.
  double getValueAtFrame(const EffectContext& context, double frame) const;
  // A continuous point coordinate: the section index plus the fraction of the section.
  double getSectionPosition(const EffectContext& context, double frame) const;
  // Whether the value shown at the context's frame is a stored value the user may edit.
  bool isValueEditable(const EffectContext& context) const;
  // Maps a progress 0..1 through the easing curve. Without time control, or with a curve
  // that is not a whole number of points, the progress comes back unchanged; a curve whose
  // numbers make the result infinite or not a number counts as no curve.
  double applyTimeControl(double progress) const;
  // The text of one value in the track text.
  std::string formatValue(int index) const;

  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  std::string toString() const override;
  // Reads a track text. A text that fails (an unknown movement, a field that is no number,
  // a movement without values, more values than an object can have) throws and leaves the
  // track exactly as it was.
  void fromString(std::string_view text) override;
  // A legacy track text is first rewritten into the current form by the edit model
  // (Effect::EditAccess::convertLegacyTrack); without it this throws "not implement.".
  void loadKvoParameter(std::string_view text, std::string_view key, std::string_view effectName,
                        bool currentForm) override;
  // The number control, for a visible track only.
  ControlKind getControlKind() const override;

  std::vector<int> values;  // in step units
  int defaultValue;
  int minimum;
  int maximum;
  int scale;                        // step units per display unit
  const MovementBase* movement;     // the registry's prototype, not owned
  std::vector<double> timeControl;  // the easing curve, four numbers per curve point
  std::vector<double> params;       // the movement's parameters
  int flags = 0;
  NumberItemList* linkGroup = nullptr;  // not owned
  MovementListHook movementListHook;
  bool visible = true;             // only a visible track gets a row
  const char* zeroText = nullptr;  // shown instead of the number 0

 private:
  bool keepsValuePerPoint() const;
  // Clamped step value of a display value.
  int toStepValue(double value) const;
  int clampStep(double stepValue) const;
  // The value index an anchor edit at a point changes, or -1 for none.
  int valueIndexForPoint(int midpointCount, int pointIndex) const;
  SectionPosition positionAt(const ObjectFrames& frames, double time) const;
};

// The camera control's target layer: a number track of 1-based layer numbers (0: none).
class EffectItemLayerObject : public EffectItemNumber {
 public:
  EffectItemLayerObject(EffectItemList& items, std::string_view name, double defaultValue,
                        double minimum, double maximum, double step);
  EffectItemLayerObject(const EffectItemLayerObject&) = default;

  // A plain number track.
  std::unique_ptr<EffectItem> clone() const override;

  // The position of the target at the context's instant (w 1). Each point of the track
  // samples the object on its layer at the context's frame (its output's position, or 0
  // when the layer is outside the scene, empty, or holds no input object); three position
  // tracks with this track's movement, params, easing curve and flags then glide between
  // the samples. The tracks are made per call, so that the render thread and the preview
  // may ask at once. A track without values throws "item value index out of range.".
  // Defined with the camera control (builtin/control/layer_object_target.cpp): it reads the
  // scene and the target object's effects.
  XMath::Vector getTargetPosition(EffectContext& context) const;
};

}  // namespace Effect
