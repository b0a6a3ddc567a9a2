#pragma once
// The selected objects of a scene, in selection order. Each selected object also carries
// its own selected flag.
#include <cstdint>
#include <memory>
#include <vector>

namespace Edit {

class Object;
class Scene;

class Selection {
 public:
  // Adds the object: one already selected only becomes the clicked-while-selected marker,
  // one on a locked layer is ignored.
  void add(const std::shared_ptr<Object>& object, const Scene& scene);
  // Adds the object, or every member of its group that is still on a layer (members on
  // locked layers are skipped). False when the object is already selected.
  bool addWithGroup(const std::shared_ptr<Object>& object, const Scene& scene);
  // Every object loses its selected flag and the selection is emptied.
  void clear();
  // Drops the objects that are no longer on a layer; true when one was dropped.
  bool dropRemoved();

  bool empty() const { return objects.empty(); }

  std::vector<std::shared_ptr<Object>> objects;
  // The object last clicked while it was already selected; null after every addition.
  Object* clickedSelected = nullptr;
  bool hasControl = false;  // a selected object has the control flag
  int32_t maxLayer = 0;     // the largest layer index among the selected objects
};

}  // namespace Edit
