#include "edit/selection_input.h"

namespace Edit {

namespace {
SelectionInput headlessInput;
SelectionInput* installedInput = nullptr;
}  // namespace

void setSelectionInput(SelectionInput* input) { installedInput = input; }

SelectionInput& selectionInput() { return installedInput ? *installedInput : headlessInput; }

}  // namespace Edit
