#pragma once
// The settings files of the program and the parameter store velumo2.ini.
//
// system.conf, style.conf and effect.conf are read from %AppData% first and from
// %AppInstall% second (the installed copy only supplies keys the user's copy lacks); each is
// written back at exit only when something changed it. velumo2.ini holds the typed
// parameters of every part of the program and is rewritten at every orderly exit.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "system/ini_file.h"
#include "system/service_holder.h"

namespace Setting {

// The parameter store: one ini store shared by every configuration section of the program.
class ParameterIni : public System::IniFile, public System::Service<ParameterIni> {};

class SettingService : public System::Service<SettingService> {
 public:
  // The system.conf part: the store, its sections, the parameter store's holder and what
  // the desktop tells of input timing, the screen and the memory.
  struct SystemPart {
    SystemPart();
    System::IniFile store;
    System::IniFile::SectionRef config;
    System::IniFile::SectionRef frameRate;
    System::IniFile::SectionRef keyCode;
    std::optional<System::ServiceHolder<ParameterIni>> parameterIni;

    int32_t keyDelay = 500;           // ms
    int32_t keyRepeatInterval = 100;  // ms
    int32_t caretBlinkTime = 500;     // ms
    int32_t dragWidth = 6;            // px
    int32_t dragHeight = 6;           // px
    int32_t doubleClickTime = 500;    // ms
    int32_t screenWidth = 1920;       // px
    int32_t screenHeight = 1080;      // px
    int32_t installedMemory = 16384;  // MB
  };

  SettingService();
  ~SettingService();
  SettingService(const SettingService&) = delete;
  SettingService& operator=(const SettingService&) = delete;

  // Scales style.conf's [Layout] values and the sizes of its [Font] values for a high-DPI
  // screen when velumo2.ini [Direct3D] "HighDpiMode" asks for it.
  void applyDpiScale(int systemDpi);
  // Drops this service's use of the parameter store; the last use writes velumo2.ini.
  void releaseParameterIni();

  SystemPart system;
  float dpiScale = 1.0f;

  System::IniFile style;
  System::IniFile::SectionRef color;
  System::IniFile::SectionRef layout;
  System::IniFile::SectionRef font;
  System::IniFile::SectionRef format;

  System::IniFile effect;
};

// Registers a process-wide integer of the window layout that follows style.conf. The
// settings service computes every registered value once, in registration order, after the
// style has been read and scaled. Used by static initialisation only.
void bindStyleValue(int32_t& target, std::function<int32_t(SettingService&)> compute);
void bindStyleText(std::string& target,
                   std::function<std::string(SettingService&)> compute);

// Style-bound metrics of the window layout.
namespace Style {
extern int32_t settingItemHeight;
extern int32_t settingItemHeightPlus2;
extern int32_t scrollBarSize;
extern int32_t footerHeight;
extern int32_t windowSeparatorSize;
extern int32_t explorerHeaderHeight;
extern int32_t titleHeaderHeight;
extern int32_t listItemHeight;
extern std::string defaultFamily;
}  // namespace Style

}  // namespace Setting
