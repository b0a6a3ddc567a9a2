#pragma once
// Legacy object files (.kvo): a whole timeline of the previous generation of the editor,
// imported as a scene. The file is an ini-like text in the old 8-bit code page (CP932) or
// already in UTF-8: section [kivrun] holds the scene's size and rates, sections [0], [1] ...
// the objects with 1-based layers and frames, and [M.0], [M.1] ... the effects of object M
// under their old names. Old effect names, script numbers and parameter keys are mapped to
// today's effects and items through the "OldScript" tables of effect.conf.
//
// The objects of Edit::LayerObjectManager::loadObjectKvoFile, Edit::Object::loadEffectKvoFile
// and Edit::Object::mergeInto are declared with their classes.
#include <string>
#include <string_view>

#include "system/ini_file.h"

namespace Edit {

class Scene;

namespace ProjectConvert {

// Reads a legacy object file (an expanded path) into the store: as UTF-8 when the whole file
// is valid UTF-8, else converted from CP932. Throws "failed to open file." for a path that
// is no regular file, and "file too large." past System::IniFile::kMaxFileSize.
void readKvoFile(System::IniFile& file, const std::string& path);

// The scene name a file gives: the text after the last "\\" or "/" up to its last ".".
std::string sceneNameOfPath(std::string_view path);

// Fills an empty scene from a legacy object file. Throws "kivrun section not found" when the
// header is missing and the header's errors; an object that fails is left out alone (a WARN
// line each) and "一部のオブジェクトの読み込みに失敗しました" is posted once at the end.
void loadSceneFromKvo(Scene& scene, const std::string& path);

// The scene's name (empty: the default name of its id) and the header keys: "width",
// "height", "rate" and "scale" required and positive, "audio_rate" positive, 48000 when
// absent. Everything is checked before the scene changes.
void loadSceneHeader(Scene& scene, const System::IniFile::SectionRef& header,
                     const std::string& name);

// The effect name an effect section stands for: "_name", or for the three old script
// kinds their "name", or the effect.conf entry for their built-in script number "type".
// Throws "ini file parameter undefined." for a missing key or table entry.
std::string convertScriptName(const System::IniFile::SectionRef& section);

}  // namespace ProjectConvert

}  // namespace Edit
