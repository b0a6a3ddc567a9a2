#pragma once
// One recorded change that can be undone and redone, and the template from which every
// kind of change is made.
//
// An item is made for its target before the change it covers and captures the "before"
// state; when the step is committed it captures the "after" state and says whether anything
// changed (an unchanged item is destroyed). Undo puts the "before" state back, redo the
// "after" state; both set the flags of the edit-update scope they run in, so the layer
// tables, windows and listeners follow.
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace Edit {
class UpdateSection;
}

namespace Undo {

class UndoItem {
 public:
  UndoItem() = default;
  UndoItem(const UndoItem&) = delete;
  UndoItem& operator=(const UndoItem&) = delete;
  virtual ~UndoItem() = default;

  // Captures the "after" state; false when nothing changed.
  virtual bool commit() = 0;
  virtual void captureBefore() = 0;
  virtual void captureAfter() = 0;
  virtual void undo(Edit::UpdateSection& scope) = 0;
  virtual void redo(Edit::UpdateSection& scope) = 0;
};

// An item over a target kept alive by a shared pointer and two states of `Op`. `Op`
// provides:
//   static void capture(Target&, Op& state);
//   static bool compare(Op& before, Op& after);  // true when changed; may release what did not
//   static void restore(const std::shared_ptr<Target>&, const Op& state, Edit::UpdateSection&);
template <class Target, class Op>
class UndoItemTemplate : public UndoItem {
 public:
  explicit UndoItemTemplate(std::shared_ptr<Target> target) : target_(std::move(target)) {}

  bool commit() override {
    captureAfter();
    return Op::compare(before_, after_);
  }
  void captureBefore() override { Op::capture(*target_, before_); }
  void captureAfter() override { Op::capture(*target_, after_); }
  void undo(Edit::UpdateSection& scope) override { Op::restore(target_, before_, scope); }
  void redo(Edit::UpdateSection& scope) override { Op::restore(target_, after_, scope); }

  Target& target() const { return *target_; }
  const std::shared_ptr<Target>& targetPointer() const { return target_; }
  Op& before() { return before_; }
  Op& after() { return after_; }
  const Op& before() const { return before_; }
  const Op& after() const { return after_; }

 private:
  std::shared_ptr<Target> target_;
  Op before_{};
  Op after_{};
};

// A step: the items of one edit, in recording order.
using UndoStep = std::vector<std::unique_ptr<UndoItem>>;

// A scene's history: the newest step at the front. The first `undone` steps have been
// undone (they are the redo steps): undo replays the step at index `undone`, redo the one
// at `undone` - 1.
struct UndoHistory {
  std::deque<UndoStep> steps;
  uint64_t undone = 0;
};

}  // namespace Undo
