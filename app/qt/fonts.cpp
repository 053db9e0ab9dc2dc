#include "app/qt/fonts.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#endif

namespace tarnwick {

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)

namespace {

// The folders and caches are those of fontconfig's own fonts.conf; the render settings those of
// Debian's and most desktops' defaults (10-hinting-slight, 10-yes-antialias,
// 11-lcdfilter-default); the generic families those the system's configuration prefers.
const char *const configuration = R"(<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <dir>~/.fonts</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <cachedir>~/.fontconfig</cachedir>
  <match target="pattern">
    <test name="family"><string>sans serif</string></test>
    <edit name="family" mode="assign"><string>sans-serif</string></edit>
  </match>
  <alias binding="same"><family>sans-serif</family>
    <prefer><family>DejaVu Sans</family><family>Noto Sans</family><family>Liberation Sans</family></prefer>
  </alias>
  <alias binding="same"><family>serif</family>
    <prefer><family>DejaVu Serif</family><family>Noto Serif</family><family>Liberation Serif</family></prefer>
  </alias>
  <alias binding="same"><family>monospace</family>
    <prefer><family>DejaVu Sans Mono</family><family>Noto Sans Mono</family><family>Liberation Mono</family></prefer>
  </alias>
  <match target="font">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintslight</const></edit>
    <edit name="lcdfilter" mode="assign"><const>lcddefault</const></edit>
  </match>
</fontconfig>
)";

} // namespace

void prepareFontconfig()
{
    if (std::getenv("FONTCONFIG_FILE") != nullptr || std::getenv("FONTCONFIG_PATH") != nullptr)
        return;
    FcConfig *config = FcConfigCreate();
    if (config == nullptr)
        return;
    const auto *text = reinterpret_cast<const FcChar8 *>(configuration); // NOLINT: FcChar8 is char
    // Without its fonts the configuration is useless: fontconfig then loads the system's own.
    if (FcConfigParseAndLoadFromMemory(config, text, FcFalse) == FcTrue
        && FcConfigBuildFonts(config) == FcTrue)
        FcConfigSetCurrent(config);
    FcConfigDestroy(config); // the current configuration keeps its own reference
}

#else

void prepareFontconfig()
{ }

#endif

} // namespace tarnwick
