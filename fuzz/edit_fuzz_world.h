#pragma once
// What the fuzz targets of the edit model's files share: a program folder of their own with
// the parameter store and an effect registry of the tests' made-up effects of every kind,
// and the checks every model they read must pass. The world is made once per process and
// removed at exit.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "edit/edit_limits.h"
#include "edit/effect_kinds.h"
#include "edit/object.h"
#include "effect/effect_service.h"
#include "fuzz/fuzz_support.h"
#include "system/file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace FuzzSupport {

// The program folder with its settings and the registry of the made-up effects. `extension`
// is that of the files the target reads: input, saved and saved-again copies live here.
class World {
 public:
  World(const char* name, const char* extension)
      : folder_(name),
        path_(folder_.path()),
        input_(path_ + "/input." + extension),
        saved_(path_ + "/saved." + extension),
        again_(path_ + "/again." + extension) {
    parameters_ = std::make_unique<System::ServiceHolder<Setting::ParameterIni>>();
    ChainFixture::setKindCatalogue();
    registry_ = std::make_unique<System::ServiceHolder<Effect::EffectService>>();
  }
  ~World() {
    registry_.reset();
    parameters_.reset();
  }

  // Puts the fuzzer's bytes into the input file.
  void writeInput(const uint8_t* data, size_t size) const {
    System::File file;
    file.open(input_, System::File::WriteExclusive);
    file.write(data, size);
  }

  // Fails with `what` unless the saved and the saved-again copies hold the same text.
  void checkSavedAgainAlike(const char* what) const {
    const std::string first = TestSupport::readWholeFile(saved_);
    const std::string second = TestSupport::readWholeFile(again_);
    if (first == second) return;
    std::fprintf(stderr, "--- saved\n%s\n--- saved again\n%s\n", first.c_str(), second.c_str());
    fail(what);
  }

 private:
  ProgramFolder folder_;  // first: removed last

 public:
  const std::string path_, input_, saved_, again_;

 private:
  std::unique_ptr<System::ServiceHolder<Setting::ParameterIni>> parameters_;
  std::unique_ptr<System::ServiceHolder<Effect::EffectService>> registry_;
};

// An object read from a file: frames in range, midpoints strictly inside it in increasing
// order, and an effect chain.
inline void checkObject(const Edit::Object& object) {
  if (!Edit::isValidFrame(object.start) || !Edit::isValidFrame(object.end) ||
      object.end < object.start)
    fail("frames out of range");
  int64_t previous = 0;
  for (int32_t boundary : object.boundaries) {
    if (boundary <= previous || boundary >= int64_t{object.end} - object.start)
      fail("midpoint outside its object");
    previous = boundary;
  }
  if (object.effects.empty()) fail("object without effects");
}

}  // namespace FuzzSupport
