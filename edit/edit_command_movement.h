#pragma once
// The effect chain changed by name or from an effect alias file, and the movement of a
// number track with its options and settings. Each change is one undoable step like the
// other commands that change an object in place (edit_command_section.h). UI thread only.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Effect {
class EffectBase;
class EffectItemNumber;
}  // namespace Effect

namespace Edit {
class Object;
}  // namespace Edit

namespace Edit::EditCommand {

// --- effects -----------------------------------------------------------------------------

// Puts the named effect into the object's chain where its kind belongs (a filter right
// behind `after` when given); with `replace` the new effect takes `after`'s place. Passes on
// the registry's and the chain's exceptions once the scope is closed.
void setEffect(const std::shared_ptr<Object>& object, std::string_view name,
               const Effect::EffectBase* after, bool replace);
// The same with the effects of an effect alias file. Every failure is caught and shown as
// "エイリアスの読み込みに失敗しました"; a file that reading brought up to date is written back.
void loadEffect(const std::shared_ptr<Object>& object, const std::string& path,
                const Effect::EffectBase* after, bool replace);

// --- movements ---------------------------------------------------------------------------

// Gives the track (and every track of its link group) the named movement, sized to the
// object's points and with the movement's options. Throws "not found movement." for an
// unknown name, before anything opens; the track's own movement again changes nothing.
void setMovement(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                 std::string_view name);
// Toggles an option bit (1 accelerate, 2 decelerate, 4 ignore midpoints) of the track; in a
// link group every track whose bit was as the track's was gets it toggled, so the whole
// group ends alike.
void toggleMovementFlag(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                        int flag);
// The movement parameters of the track (and its link group) become the given list.
void setMovementSettings(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                         const std::vector<double>& parameters);
// Asks for the movement's first parameter ("設定値") and sets it on OK.
void showMovementSettingsDialog(const std::shared_ptr<Object>& object,
                                Effect::EffectItemNumber& item);

}  // namespace Edit::EditCommand
