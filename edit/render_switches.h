#pragma once
// The preview's view switches that the edit commands set: the camera grid, the free edit
// camera and the visualised clipping objects. They are settings of the render engine, which
// lies above the edit model; the engine implements this and the program installs it. Without
// one the switches are kept here, so a run without a render engine still answers what was set.
namespace Edit {

class RenderSwitches {
 public:
  virtual ~RenderSwitches() = default;
  virtual void setCameraGrid(bool enable) = 0;
  virtual void setCameraFreeView(bool enable) = 0;
  virtual void setVisibleClippingObject(bool enable) = 0;
  // What the switches hold now, for the commands that toggle them.
  virtual bool isCameraFreeView() const = 0;
  virtual bool isVisibleClippingObject() const = 0;
};

// Installs the switches (nullptr puts the headless ones back).
void setRenderSwitches(RenderSwitches* switches);
RenderSwitches& renderSwitches();

}  // namespace Edit
