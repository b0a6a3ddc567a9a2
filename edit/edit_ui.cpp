#include "edit/edit_ui.h"

namespace Edit {

namespace {
EditUi headlessUi;
EditUi* installedUi = nullptr;
}  // namespace

void setEditUi(EditUi* ui) { installedUi = ui; }

EditUi& editUi() { return installedUi ? *installedUi : headlessUi; }

}  // namespace Edit
