#pragma once
// Alias files: an object (<name>.object) or a set of effects (<name>.effect) saved in the
// alias folder and offered in the menus beside the effects. Both are project-file text: an
// object alias holds [Object] with the object's frame list (only when saved with its
// timing), its camera and clipping flags, then one effect section per effect ([Object.0],
// [Object.1] ...); an effect alias holds [Effect.0] (a reader also takes [Effect.1] ...).
//
// The readers that make objects from these files are Edit::LayerObjectManager's
// loadObjectAliasFile / loadObjectAliasFileEffect and Edit::Object::loadEffectAliasFile.
#include <memory>
#include <string>
#include <string_view>

namespace Effect {
class EffectBase;
}

namespace Edit {

class Object;
class Scene;

// "%Alias%/" + name + "." + kind, expanded. Throws "invalid alias name." (place
// "Edit::makeAliasFilePath") for a name that is empty, "." or "..", or holds a path
// separator or a line break: an alias is a file of the alias folder itself.
std::string makeAliasFilePath(std::string_view name, std::string_view kind);

// Writes an object alias to an expanded path. The file is replaced only once it is
// complete; a failure throws and leaves an older file as it was. `withFrame`: the object's
// frame list is saved, so that it is placed with its own length and midpoints.
void saveObjectAliasFile(const std::string& path, const Object& object, bool withFrame);
// Writes an effect alias holding the one effect.
void saveEffectAliasFile(const std::string& path, const Effect::EffectBase& effect);

// Makes a new object on the scene from an alias file (an expanded path): an effect alias
// when the extension is "effect" (any letter case), else an object alias. Without timing
// in the file the object reaches frame + 800000 / the scene's zoom. Throws "failed to open
// file." for a missing file, and what the readers throw; nothing is left on the scene then.
std::shared_ptr<Object> loadObjectFile(Scene& scene, const std::string& path, int layer, int frame);

}  // namespace Edit
