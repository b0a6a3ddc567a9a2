#pragma once
// The user settings of the edit model, kept in [Edit] of the parameter store. Each one is
// declared once, in the table of edit_settings.cpp: its key, its member and its default.
#include <cstdint>
#include <span>
#include <string>

#include "system/config.h"

namespace Edit {

struct EditSettings {
  // Every setting at its default.
  EditSettings();
  // The [Edit] table, in the order the keys are written.
  static std::span<const System::Config::Entry<EditSettings>> entries();

  // Reopen the project of the last run at the start (the resume file).
  int32_t editResume;
  // The automatic backup: on or off, minutes between backups, backup files kept.
  int32_t autoBackup;
  int32_t autoBackupInterval;
  int32_t autoBackupFileMax;
  // Recent project files kept.
  int32_t historyFileMax;
  // Dragging and clicking objects in the layer view and anchors in the preview.
  int32_t layerObjectMoveSnap;
  int32_t anchorObjectMoveSnap;
  int32_t singleClickFocusLayerObject;
  int32_t singleClickFocusAnchorObject;
  int32_t clickLayerObjectSelectGroup;
  int32_t clickAnchorObjectSelectGroup;
  int32_t displayObjectMovePoint;
  int32_t displayObjectCenterAnchor;
  int32_t mouseHoverHideOtherAnchor;
  int32_t addSectionSplitByCursorFrame;
  int32_t fixedMovieTimeRange;
  int32_t moveFrameSelectRangeMode;
  // The custom cursor moves: "<frames>f" or seconds (EditService::moveCursorFrame).
  std::string customMoveFrameA;
  std::string customMoveFrameB;
  std::string customMoveFrameC;
  std::string customMoveFrameD;
};

}  // namespace Edit
