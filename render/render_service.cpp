#include "render/render_service.h"

#include "system/exception.h"

namespace Render {

RenderService& RenderService::Get() {
  RenderService* service = instance();
  if (!service)
    throw System::makeException("Render::RenderService::Get", "RenderService not created.");
  return *service;
}

RenderService::~RenderService() { stop(); }

void RenderService::stop() {
  video_.stop();
  audio_.stop();
}

}  // namespace Render
