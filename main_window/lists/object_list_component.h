#pragma once
// The object list: a docked tool window listing, for the current scene, the object under the
// cursor frame on each layer, in layer order. Its options choose which kinds and media of
// objects are listed; they are kept in velumo2.ini. One per process, made by the entry point
// after the scene list and before the media explorers.
#include <cstdint>
#include <memory>
#include <vector>

#include "edit/edit_service.h"
#include "main_window/lists/list_tool_window.h"
#include "system/config.h"
#include "system/event_service.h"
#include "system/service_holder.h"

namespace Edit {
class Object;
}

namespace Component {

class ObjectListComponent : public ListToolWindow,
                            public Edit::EditInstance,
                            public Event::EventInstance,
                            public System::Service<ObjectListComponent> {
 public:
  static constexpr const char* kTitle = "オブジェクトリスト";
  static constexpr const char* kSection = "Window.object.list";
  static constexpr const char* kOptionMenu = "オプション";

  // The options (non-zero: listed).
  struct Options {
    int32_t video = 1;    // first effect of media type video, or video and audio
    int32_t audio = 1;    // every other media type
    int32_t control = 1;  // control objects
    int32_t filter = 1;   // filter objects
    int32_t media = 1;    // media (input) objects
  };

  // Loads the options; the rows come with the first cursor, scene or edit change.
  ObjectListComponent();

  // Collects the objects and re-targets the rows when their number stayed, else rebuilds
  // them.
  void updateList();
  // The objects under the cursor frame that the options let through, one per layer at most.
  void collectObjects();
  // Whether the options let the object through.
  bool isListed(const Edit::Object& object) const;

  // The object menu, then the options and the window menu.
  void procContextMenu(int32_t x, int32_t y) override;
  void buildContextMenu(Window::BaseMenu& menu);
  // The options sub-menu, then the window menu.
  void createPopupMenu(Window::BaseMenu& menu) override;

  const std::vector<std::shared_ptr<Edit::Object>>& listedObjects() const { return objects_; }

  Options options;

 private:
  System::Config::Section config_{kSection};
  System::Config::Int videoParameter_{config_, "DisplayVideoObject", &options.video, 1};
  System::Config::Int audioParameter_{config_, "DisplayAudioObject", &options.audio, 1};
  System::Config::Int controlParameter_{config_, "DisplayControlObject", &options.control, 1};
  System::Config::Int filterParameter_{config_, "DisplayFilterObject", &options.filter, 1};
  System::Config::Int mediaParameter_{config_, "DisplayMediaObject", &options.media, 1};
  System::Config::Binding binding_;  // after the parameters: saves them when the window goes

  std::vector<std::shared_ptr<Edit::Object>> objects_;
};

}  // namespace Component
