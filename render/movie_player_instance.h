#pragma once
// The mix-in that gives the player bar, the volume button and the display menu the preview
// player: the pointer is taken from the render service when the object is built, null when
// there is no render service yet.
#include "render/movie_player.h"
#include "render/render_service.h"

namespace Render {

class MoviePlayerInstance {
 protected:
  MoviePlayerInstance()
      : moviePlayer(RenderService::instance() ? &RenderService::instance()->player() : nullptr) {}
  MoviePlayer* moviePlayer;
};

}  // namespace Render
