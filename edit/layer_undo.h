#pragma once
// The undo states of a layer record (Undo::UndoItemTemplate<Edit::Layer, Op>). The
// timeline's layer header records them; a replay works on the scope's scene.
#include <cstdint>
#include <memory>
#include <string>

namespace Edit {

class Layer;
class UpdateSection;

// Hidden, locked and name.
struct LayerUndoUpdate {
  bool hidden = false;
  bool locked = false;
  std::string name;

  static void capture(Layer& layer, LayerUndoUpdate& state);
  static bool compare(LayerUndoUpdate& before, LayerUndoUpdate& after);
  static void restore(const std::shared_ptr<Layer>& layer, const LayerUndoUpdate& state,
                      UpdateSection& scope);
};

// The layer's position: a replay moves the record's slot back there.
struct LayerUndoMove {
  int32_t index = -1;

  static void capture(Layer& layer, LayerUndoMove& state);
  static bool compare(LayerUndoMove& before, LayerUndoMove& after);
  static void restore(const std::shared_ptr<Layer>& layer, const LayerUndoMove& state,
                      UpdateSection& scope);
};

// Whether the record is in the table: its index, -1 when it is not. A replay deletes the
// layer, or inserts the record at its index again.
struct LayerUndoCreateDelete {
  int32_t index = -1;

  static void capture(Layer& layer, LayerUndoCreateDelete& state);
  static bool compare(LayerUndoCreateDelete& before, LayerUndoCreateDelete& after);
  static void restore(const std::shared_ptr<Layer>& layer, const LayerUndoCreateDelete& state,
                      UpdateSection& scope);
};

}  // namespace Edit
