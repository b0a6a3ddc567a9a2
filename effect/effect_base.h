#pragma once
// The base of every effect: an object's input, its filters, its output, the control
// effects, scene changes and script effects.
//
// The base fixes what an effect is (a name, three type bytes that say where in an object's
// chain it may stand and what media it handles, a menu category label, its parameter items
// in declaration order, three user flags) and the contract through which the rest of the
// program drives it: the virtual operations below, in a fixed order. Their base versions
// do nothing, give a neutral answer, or refuse with "not implement.".
//
// The processing operations run on the render workers under the shared edit lock, each
// with its own context; the editing operations run on the UI thread.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "effect/effect_context.h"
#include "effect/effect_event_param.h"
#include "effect/effect_item.h"
#include "effect/outer_types.h"
#include "effect/owned_buffer.h"
#include "system/ini_file.h"

namespace Effect {

class EffectItemLayerRange;

// Values of the type bytes.
namespace EffectType {
inline constexpr uint8_t Input = 1;
inline constexpr uint8_t Output = 2;
inline constexpr uint8_t Filter = 3;
inline constexpr uint8_t Control = 4;
}  // namespace EffectType
namespace MediaType {
inline constexpr uint8_t Video = 1;
inline constexpr uint8_t Audio = 2;
inline constexpr uint8_t VideoAudio = 3;
inline constexpr uint8_t Camera = 4;  // the lights that act inside a camera control
}  // namespace MediaType
namespace TargetType {
inline constexpr uint8_t Video = 1;
inline constexpr uint8_t Audio = 2;
inline constexpr uint8_t VideoAudio = 3;
inline constexpr uint8_t Camera = 4;
inline constexpr uint8_t SceneChange = 5;
}  // namespace TargetType

class EffectBase {
 public:
  EffectBase(const EffectBase&) = delete;
  EffectBase& operator=(const EffectBase&) = delete;
  virtual ~EffectBase();

  // An input effect produces the object's picture.
  virtual OwnedImage inputVideo(EffectContext& context);
  // Prepares the coming input (pre-load) before inputVideo.
  virtual void preInputVideo(EffectContext& context);
  // An output effect draws the object's picture into the frame; the image stays with the
  // caller.
  virtual void outputVideo(EffectContext& context, Media::RenderBuffer& target,
                           OwnedImage& image);
  // Adds the effect's preview handles for an object image of that size.
  virtual void updateAnchor(EffectContext& context, int width, int height);
  // The view state the object is drawn with.
  virtual OutputView getOutputView(EffectContext& context);
  // A filter changes the picture; it may return no image. The base releases the image it
  // was given before it refuses, so nothing leaks.
  virtual OwnedImage filterVideo(EffectContext& context, OwnedImage image);
  // Control effects act on the objects they govern.
  virtual void controlVideo(EffectContext& context);
  virtual OwnedAudio inputAudio(EffectContext& context);
  virtual void preInputAudio(EffectContext& context);
  virtual void outputAudio(EffectContext& context, Media::AudioBuffer& target, OwnedAudio& audio);
  virtual OwnedAudio filterAudio(EffectContext& context, OwnedAudio audio);
  virtual void controlAudio(EffectContext& context);
  // The input effect an output effect needs when it is added to an object alone, or null.
  virtual const EffectDefine* getDefaultInputEffect() const;
  // The name shown to the user: translated while a language is active.
  virtual std::string getDisplayName() const;
  // Whether the object's sound can be split off into an audio object.
  virtual bool canSeparateAudio(int value) const;
  // The item that says how many following layers a group or camera control governs.
  virtual EffectItemLayerRange* getLayerRange();
  // A press, double click or drag on one of the effect's handles; true when handled.
  virtual bool anchorEvent(Anchor::AnchorEvent& event);
  // The effect reacts to an edit of its object or items.
  virtual bool editEvent(EffectEventParam& param);
  // Whether this input effect can open the file.
  virtual bool isSupportedFile(const std::string& path) const;
  // Shows or hides items according to the current choices.
  virtual void updateItemState();
  // Installs the effect's own hooks into its item controls.
  virtual void initSetting(Component::EffectSetting& block);
  // A new instance of the same class.
  virtual std::shared_ptr<EffectBase> create() const = 0;
  // Builds the resources all instances of the class share, once, on the prototype.
  virtual void createResource();
  // Takes the prototype's shared resources into a new instance.
  virtual void shareResource(const EffectBase& prototype);

  // The effect section of project, alias and default-settings files (effect_section.cpp):
  // "effect.name", the three flags when set, then one "<item name>=<text form>" line per
  // item in item order. The section line itself is the caller's.
  void saveIniSectionParameter(System::File& file) const;
  // Reads the flags and the item lines of a section into this effect; "effect.name" is the
  // caller's. An absent key leaves its item as it is; a value an item refuses is logged and
  // the item keeps its value. A flag that is not a number throws.
  void loadIniSectionParameter(const System::IniFile::SectionRef& section);
  // Reads an effect section of a legacy object file: "_disable" sets the switched-off flag,
  // and every other key in the order of the file hands its text to the item it names (by
  // the item's name, else through findOldScriptItem) as a legacy text. Keys that name no
  // item are skipped; a value an item refuses is logged and the item keeps its value.
  void loadKvoSectionParameter(const System::IniFile::SectionRef& section);
  // The item an old parameter key stands for, through the section "OldScript.<name>" of
  // effect.conf; null when the table has no such key or names no item of this effect.
  EffectItem* findOldScriptItem(std::string_view key) const;
  // Copies every item value of another instance of the same kind, item by item. Throws
  // "different number of items." or "different item type." (nothing copied) when the item
  // lists do not match.
  void setItemData(const EffectBase& other);

  // The registry key and the name project files store; shared by every effect of a kind.
  const char* name;
  uint8_t effectType;  // 1 input, 2 output, 3 filter, 4 control
  uint8_t mediaType;   // bits: 1 video, 2 audio; 4 camera lights
  uint8_t targetType;  // 1 video, 2 audio, 3 both, 4 camera, 5 scene change
  const char* label;   // menu category; "" when the class sets none
  // The items in declaration order; the effect's class owns them.
  EffectItemList items;
  bool disable = false;  // switched off
  bool hide = false;     // block folded in the object setting window
  bool lock = false;     // handles locked in the preview

 protected:
  EffectBase(const char* name, uint8_t effectType, uint8_t mediaType, uint8_t targetType,
             const char* label = "");
};

}  // namespace Effect
