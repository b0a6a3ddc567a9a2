#pragma once
// The object edit commands that change object lengths and frames in bulk, split the sound
// of a movie off into an audio object, and open a media file as a new scene. Each change is
// one undoable step like the other object commands (edit_command_object.h); the dialogs
// come from the edit model's UI (edit_ui.h), what a media file holds from the media probe.
// UI thread only.
#include <string>

namespace Edit::EditCommand {

// Asks for a frame count and moves every object that starts at or after the frame that
// much later; nothing moves when one of them would leave the frame range.
void insertNullFrame(int frame);
// Asks for a length (the first target's as proposal) and gives it to every target.
void changeObjectLength();
// One target whose input is a movie that can give its sound away.
bool canSeparateAudioObject();
// The sound of that movie goes to a new audio object on the first layer below the target
// with no object in its frames; the target keeps the picture.
void separateAudioObject();
// Proposes a scene made to the file's media, makes it current on OK and creates an object
// for the file in it; false when no effect or reader takes the file or on Cancel.
bool createSceneFromFile(const std::string& path);
// Imports a legacy object file (.kvo) as a new current scene (EditService::importSceneFromKvo):
// the command a file dropped on the scene list runs. False when the import failed; the
// error box is posted then.
bool importLegacyScene(const std::string& path);

}  // namespace Edit::EditCommand
