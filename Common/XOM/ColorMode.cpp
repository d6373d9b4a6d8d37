#include "Common/XOM/ColorMode.h"

#include "Common/XOM/ColorIndexTable.h"
#include "Common/XOM/PlotStreamState.h"
#include "hdi/HT_Palette.h"
#include "hdi/HT_Plotter_Parts.h"

namespace {

bool BeginsWith(const std::wstring& name, const wchar_t* model, std::size_t characters) {
    return name.compare(0, characters, model, characters) == 0;
}

}  // namespace

ColorModeChoice ChooseColorMode(const std::wstring& name, bool colourAllowed) {
    if (BeginsWith(name, L"Color", 5) && colourAllowed) {
        return {kPenModelColor, HT_COLOR_SYSTEM_RGB, false};
    }
    if (BeginsWith(name, L"Monochrome", 5)) {
        return {kPenModelMonochrome, HT_COLOR_SYSTEM_BITONAL, false};
    }
    const bool virtualColour = BeginsWith(name, L"255_Virtual_Pens_Color", 20);
    if (virtualColour || BeginsWith(name, L"255_Virtual_Pens_Mono", 20)) {
        return {virtualColour && colourAllowed ? kPenModelVirtualColor : kPenModelVirtualMono,
                HT_COLOR_SYSTEM_MAPPED, true};
    }
    return {kPenModelGray, HT_COLOR_SYSTEM_RGB, false};
}

void FillDevicePalette(HT_Palette& palette, bool plotTransparency) {
    palette.set_size(HT_Palette::kMaxEntries);
    if (!plotTransparency) {
        for (int i = 0; i < HT_Palette::kMaxEntries; ++i) {
            const RgbColor c = kColorIndexTable[static_cast<std::size_t>(i)];
            palette.set_entry(i, {c.red, c.green, c.blue, 255});
        }
        palette.set_entry(0, {255, 255, 255, 255});
        return;
    }
    constexpr HT_Palette_Entry kPrimaries[] = {
        {255, 0, 0, 255}, {255, 255, 0, 255}, {0, 255, 0, 255}, {0, 255, 255, 255},
        {0, 0, 255, 255}, {255, 0, 255, 255}, {0, 0, 0, 255},
    };
    for (int i = 0; i < 7; ++i) palette.set_entry(i + 1, kPrimaries[i]);
    palette.set_color_cube(HT_Color_Cube(8, 6));
    palette.set_gray_ramp(HT_Gray_Ramp(224, 32));
}
