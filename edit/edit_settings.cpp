#include "edit/edit_settings.h"

namespace Edit {

EditSettings::EditSettings() { System::Config::setDefaults(*this, entries()); }

std::span<const System::Config::Entry<EditSettings>> EditSettings::entries() {
  using S = EditSettings;
  static const System::Config::Entry<EditSettings> table[] = {
      {"EditResume", &S::editResume, 0},
      {"AutoBackup", &S::autoBackup, 1},
      {"AutoBackupInterval", &S::autoBackupInterval, 5},
      {"AutoBackupFileMax", &S::autoBackupFileMax, 10},
      {"HistoryFileMax", &S::historyFileMax, 10},
      {"LayerObjectMoveSnap", &S::layerObjectMoveSnap, 1},
      {"AnchorObjectMoveSnap", &S::anchorObjectMoveSnap, 1},
      {"SingleClickFocusLayerObject", &S::singleClickFocusLayerObject, 1},
      {"SingleClickFocusAnchorObject", &S::singleClickFocusAnchorObject, 0},
      {"ClickLayerObjectSelectGroup", &S::clickLayerObjectSelectGroup, 1},
      {"ClickAnchorObjectSelectGroup", &S::clickAnchorObjectSelectGroup, 1},
      {"DisplayObjectMovePoint", &S::displayObjectMovePoint, 1},
      {"DisplayObjectCenterAnchor", &S::displayObjectCenterAnchor, 0},
      {"MouseHoverHideOtherAnchor", &S::mouseHoverHideOtherAnchor, 0},
      {"AddSectionSplitByCursorFrame", &S::addSectionSplitByCursorFrame, 0},
      {"FixedMovieTimeRange", &S::fixedMovieTimeRange, 0},
      {"MoveFrameSelectRangeMode", &S::moveFrameSelectRangeMode, 1},
      {"CustomMoveFrameA", &S::customMoveFrameA, "5f"},
      {"CustomMoveFrameB", &S::customMoveFrameB, "1"},
      {"CustomMoveFrameC", &S::customMoveFrameC, "30"},
      {"CustomMoveFrameD", &S::customMoveFrameD, "60"},
  };
  return table;
}

}  // namespace Edit
