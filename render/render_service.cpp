#include "render/render_service.h"

#include <exception>

#include "system/exception.h"
#include "system/log.h"

namespace Render {

RenderService& RenderService::Get() {
  RenderService* service = instance();
  if (!service)
    throw System::makeException("Render::RenderService::Get", "RenderService not created.");
  return *service;
}

RenderService::~RenderService() { stop(); }

void RenderService::stop() {
  try {
    player_.stop(false);
  } catch (const std::exception& exception) {
    // The threads stop whatever the sound output reports.
    System::Log::error("Render::RenderService::stop", "%s", exception.what());
  }
  video_.stop();
  audio_.stop();
}

}  // namespace Render
