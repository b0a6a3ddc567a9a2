#include "builtin/effect_catalogue.h"

#include "builtin/audio/audio_fade_filter.h"
#include "builtin/audio/audio_mono_filter.h"
#include "builtin/audio/audio_volume.h"
#include "builtin/basic/basic_alpha.h"
#include "builtin/basic/basic_angle.h"
#include "builtin/basic/basic_expand.h"
#include "builtin/basic/basic_invert.h"
#include "builtin/basic/basic_move.h"
#include "builtin/basic/basic_scale.h"
#include "builtin/camera/camera_light.h"
#include "builtin/camera/camera_light_ambient.h"
#include "builtin/camera/camera_light_bloom.h"
#include "builtin/camera/camera_option.h"
#include "builtin/camera/material_setting.h"
#include "builtin/choice_lists.h"
#include "builtin/control/camera_control.h"
#include "builtin/control/group_audio_control.h"
#include "builtin/control/group_control.h"
#include "builtin/control/part_effect.h"
#include "builtin/control/scene_change.h"
#include "builtin/filter/angle_clip_filter.h"
#include "builtin/filter/bevel_filter.h"
#include "builtin/filter/bloom_filter.h"
#include "builtin/filter/blur_direction_filter.h"
#include "builtin/filter/blur_filter.h"
#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/bokeh_filter.h"
#include "builtin/filter/border_blur_filter.h"
#include "builtin/filter/border_filter.h"
#include "builtin/filter/chroma_key_filter.h"
#include "builtin/filter/clip_filter.h"
#include "builtin/filter/color_change_filter.h"
#include "builtin/filter/color_filter.h"
#include "builtin/filter/color_key_filter.h"
#include "builtin/filter/color_shift_filter.h"
#include "builtin/filter/deinterlace_filter.h"
#include "builtin/filter/diffusion_filter.h"
#include "builtin/filter/displacement_filter.h"
#include "builtin/filter/drop_shadow_filter.h"
#include "builtin/filter/edge_filter.h"
#include "builtin/filter/fade_filter.h"
#include "builtin/filter/flash_filter.h"
#include "builtin/filter/glow_filter.h"
#include "builtin/filter/gradation_filter.h"
#include "builtin/filter/image_loop.h"
#include "builtin/filter/light_filter.h"
#include "builtin/filter/line_clip_filter.h"
#include "builtin/filter/luminance_key_filter.h"
#include "builtin/filter/mask_filter.h"
#include "builtin/filter/monochrome_filter.h"
#include "builtin/filter/mosaic_filter.h"
#include "builtin/filter/noise_filter.h"
#include "builtin/filter/noise_reduction_filter.h"
#include "builtin/filter/object_divide.h"
#include "builtin/filter/polar_filter.h"
#include "builtin/filter/quake_filter.h"
#include "builtin/filter/raster_filter.h"
#include "builtin/filter/resize_filter.h"
#include "builtin/filter/ripple_filter.h"
#include "builtin/filter/script_edit.h"
#include "builtin/filter/shape_filter.h"
#include "builtin/filter/temp_draw.h"
#include "builtin/filter/wipe_filter.h"
#include "builtin/input/audio_load.h"
#include "builtin/input/before_object_load.h"
#include "builtin/input/figure_load.h"
#include "builtin/input/frame_load.h"
#include "builtin/input/image_load.h"
#include "builtin/input/movie_load.h"
#include "builtin/input/scene_load.h"
#include "builtin/input/text_input.h"
#include "builtin/input/wave_image_input.h"
#include "builtin/output/audio_output.h"
#include "builtin/output/movie_output.h"
#include "builtin/output/particle_output.h"
#include "builtin/output/simple_output.h"
#include "builtin/output/video_output.h"
#include "effect/effect_service.h"

namespace Effect {

void registerFirstEffects(EffectService& registry) {
  prepareChoiceLists();
  registry.registerEffect<MovieLoad>();
  registry.registerEffect<ImageLoad>();
  registry.registerEffect<AudioLoad>();
  registry.registerEffect<TextInput>();
  registry.registerEffect<FigureLoad>();
  registry.registerEffect<SceneLoad>();
  registry.registerEffect<FrameLoad>();
  registry.registerEffect<BeforeObjectLoad>();
  registry.registerEffect<VideoOutput>();
  registry.registerEffect<AudioOutput>();
  registry.registerEffect<MovieOutput>();
  registry.registerEffect<SimpleOutput>();
  registry.registerEffect<ParticleOutput>();
  registry.registerEffect<PartEffect>();
  registry.registerEffect<GroupControl>();
  registry.registerEffect<GroupAudioControl>();
  registry.registerEffect<CameraControl>();
  registry.registerEffect<WaveImageInput>();
  registry.registerEffect<ColorFilter>();
  registry.registerEffect<GradationFilter>();
  registry.registerEffect<MonochromeFilter>();
  registry.registerEffect<ColorChangeFilter>();
  registry.registerEffect<ClipFilter>();
  registry.registerEffect<LineClipFilter>();
  registry.registerEffect<AngleClipFilter>();
  registry.registerEffect<MaskFilter>();
  registry.registerEffect<BokashiFilter>();
  registry.registerEffect<BokehFilter>();
  registry.registerEffect<BlurFilter>();
  registry.registerEffect<BlurDirectionFilter>();
  registry.registerEffect<BorderBlurFilter>();
  registry.registerEffect<GlowFilter>();
  registry.registerEffect<BloomFilter>();
  registry.registerEffect<FlashFilter>();
  registry.registerEffect<DiffusionFilter>();
  registry.registerEffect<LightFilter>();
  registry.registerEffect<ColorShiftFilter>();
  registry.registerEffect<BorderFilter>();
  registry.registerEffect<DropShadowFilter>();
  registry.registerEffect<BevelFilter>();
  registry.registerEffect<ChromaKeyFilter>();
  registry.registerEffect<LuminanceKeyFilter>();
  registry.registerEffect<ColorKeyFilter>();
  registry.registerEffect<EdgeFilter>();
  registry.registerEffect<RippleFilter>();
  registry.registerEffect<RasterFilter>();
  registry.registerEffect<PolarFilter>();
  registry.registerEffect<DisplacementFilter>();
  registry.registerEffect<ResizeFilter>();
  registry.registerEffect<ShapeFilter>();
  registry.registerEffect<NoiseReductionFilter>();
  registry.registerEffect<DeinterlaceFilter>();
  registry.registerEffect<NoiseFilter>();
  registry.registerEffect<MosaicFilter>();
  registry.registerEffect<TempDraw>();
  registry.registerEffect<ImageLoop>();
  registry.registerEffect<ObjectDivide>();
  registry.registerEffect<FadeFilter>();
  registry.registerEffect<WipeFilter>();
  registry.registerEffect<SceneChange>();
  registry.registerEffect<QuakeFilter>();
}

void registerLastEffects(EffectService& registry) {
  registry.registerEffect<ScriptEdit>();
  registry.registerEffect<CameraLight>();
  registry.registerEffect<CameraLightAmbient>();
  registry.registerEffect<CameraLightBloom>();
  registry.registerEffect<MaterialSetting>();
  registry.registerEffect<CameraOption>();
  registry.registerEffect<BasicMove>();
  registry.registerEffect<BasicScale>();
  registry.registerEffect<BasicAlpha>();
  registry.registerEffect<BasicAngle>();
  registry.registerEffect<BasicExpand>();
  registry.registerEffect<BasicInvert>();
  registry.registerEffect<AudioFadeFilter>();
  registry.registerEffect<AudioMonoFilter>();
  registry.registerEffect<AudioVolume>();
}

}  // namespace Effect
