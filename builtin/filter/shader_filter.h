#pragma once
// The base of the filters whose instances share one set of shaders: the prototype makes the
// set once (createResource) and every instance the registry makes takes the prototype's
// (shareResource), so no instance ever loads shaders of its own.
#include <memory>

#include "effect/effect_base.h"

namespace Effect {

// Self: the filter class; Resource: its shader set (a FilterShaderSet made without arguments);
// Base: EffectBase or the class between it and the filter (MoveXYAnchorEffect for a filter
// whose centre the preview drags).
template <class Self, class Resource, class Base = EffectBase>
class ShaderFilter : public Base {
 public:
  using CommonResource = Resource;

  void createResource() override { resource_ = std::make_shared<Resource>(); }
  void shareResource(const EffectBase& prototype) override {
    // A prototype of another class has no set of this kind: the current one stays.
    if (const auto* same = dynamic_cast<const Self*>(&prototype))
      resource_ = static_cast<const ShaderFilter&>(*same).resource_;
  }
  // The set, made here for an instance that nobody gave one (tests, one-off instances).
  Resource& resource() {
    if (!resource_) createResource();
    return *resource_;
  }
  const std::shared_ptr<Resource>& sharedResource() const { return resource_; }

 protected:
  using Base::Base;

 private:
  std::shared_ptr<Resource> resource_;
};

}  // namespace Effect
