#pragma once
// One run of one script: for an effect on the object of a context, or for one value of a
// movement. It carries what the interface functions work on (the object image, the text
// output, the buffers of pixel queries) from its creation to its end. Whoever creates an
// instance runs exactly one executeEffect or executeMovement and then destroys it.
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "effect/owned_buffer.h"
#include "script/script_plugin.h"

namespace Media {
class ImageBuffer;
}

namespace Effect {
struct ScriptRecord;
class EffectItemNumber;
}

namespace Plugin {

class ScriptPluginInstance {
 public:
  // What a run is for: an effect script (effect and its context) or a movement script.
  struct Binding {
    const Effect::EffectContext* context = nullptr;
    const Effect::ScriptRecord* definition = nullptr;
    Effect::EffectContext* effectContext = nullptr;
    Effect::ScriptEffect* effect = nullptr;
    const Effect::ScriptMovement* movement = nullptr;
    const Effect::EffectItemNumber* item = nullptr;
    const Effect::SectionPosition* section = nullptr;

    // Throws std::invalid_argument when the effect has no record yet.
    static Binding forEffect(Effect::ScriptEffect& effect, Effect::EffectContext& context);
    static Binding forMovement(const Effect::ScriptMovement& movement,
                               const Effect::EffectItemNumber& item,
                               const Effect::SectionPosition& section,
                               const Effect::EffectContext& context);
  };

  virtual ~ScriptPluginInstance();
  ScriptPluginInstance(const ScriptPluginInstance&) = delete;
  ScriptPluginInstance& operator=(const ScriptPluginInstance&) = delete;

  // Runs the script text (UTF-8) of an effect; a failed run throws its message.
  virtual void executeEffect(const std::string& text);
  // Runs a movement script; its first result as a number (0 when it is none).
  virtual double executeMovement(const std::string& text);
  // Writes the object variables before an effect run and reads the changeable ones back
  // after it (through setFieldNumber / getFieldNumber).
  virtual void setObjectVariables();
  virtual void getObjectVariables();
  // Hands the values of the effect's parameter items to the script.
  virtual void setScriptVariables();
  virtual double getFieldNumber(const char* name);
  virtual void setFieldNumber(const char* name, double value);
  virtual void setFieldBoolean(const char* name, bool value);

  // Takes `image` as the object image (the one held is freed).
  void setObjectImage(Effect::OwnedImage image);
  // Hands the object image out (none when the run drew it or produced none).
  Effect::OwnedImage takeObjectImage() { return std::move(objectImage_); }
  Media::ResourceBuffer* objectImage() const { return objectImage_.get(); }

  // The number item an interface function names: a leading digit names "track<name>",
  // anything else "@local <name>"; null when the name is bound to no number item.
  // Throws "not effect script." in a movement run.
  const Effect::EffectItemNumber* findNumberItem(const std::string& name) const;

  // The accessors of the interface functions; each throws when its run has no such part
  // ("not effect script." / "not movement script.").
  Effect::EffectContext& getRenderVideoTarget() const;
  Effect::ScriptEffect& getEffect() const;
  const Effect::ScriptMovement& getMovement() const;
  const Effect::EffectItemNumber& getEffectItem() const;
  const Effect::SectionPosition& getTargetSection() const;

  const Effect::EffectContext& context() const { return *binding_.context; }
  // True for the run of an effect script, false for a movement's.
  bool isEffectRun() const { return binding_.effect != nullptr; }
  const Effect::ScriptRecord& definition() const { return *binding_.definition; }

  // A failure of the host inside an interface function: kept here while the Lua library
  // unwinds the script as for a Lua error, and thrown again once the run is back in the host.
  void keepHostFailure(std::exception_ptr failure, std::string text);
  const std::string& hostFailureText() const { return hostFailureText_; }

  // The image `obj.draw` and `obj.drawpoly` draw into when set.
  std::shared_ptr<Media::ResourceBuffer> temporaryBuffer;
  // The CPU copy that pixel queries read.
  std::shared_ptr<Media::ImageBuffer> pixelCache;
  // What `mes` appended during the run (UTF-8).
  std::string scriptText;
  float sceneChangeProgress = 0.0f;  // 0..1, set by a scene change before its run
  bool drawn = false;                // the script drew the object itself
  int32_t pixelSource = 0;           // 0 the object image, 1 the frame
  int32_t pixelType = 0;             // 0 colour and alpha, 1 "rgb", 2 "yc"

 protected:
  explicit ScriptPluginInstance(const Binding& binding) : binding_(binding) {}

  // The host failure kept by an interface function, taken (null when there is none).
  std::exception_ptr takeHostFailure();

 private:
  Binding binding_;
  Effect::OwnedImage objectImage_;
  std::exception_ptr hostFailure_;
  std::string hostFailureText_;
};

}  // namespace Plugin
