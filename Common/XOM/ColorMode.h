#pragma once
// Colour modes of the host's plot configuration and what they make of the pen model, the host
// colour system and the renderer palette.
#include <cstdint>
#include <string>

class HT_Palette;

struct ColorModeChoice {
    std::uint32_t colorModel;  // PenModel of the HP-GL/2 writer
    int colorSystem;           // HT_COLOR_SYSTEM_*
    bool usesPalette;          // virtual pens: the device palette is the renderer's palette
};

// By the mode name's beginning: "Color" (with colour allowed) -> colour pens, RGB; "Monoc..." ->
// monochrome, bitonal; "255_Virtual_Pens_Mon..." / "255_Virtual_Pens_Col..." -> virtual pens
// (colour only when allowed and the name is the colour one), mapped; anything else (for
// example "Gray", or "Color" without colour) -> gray pens, RGB.
ColorModeChoice ChooseColorMode(const std::wstring& name, bool colourAllowed);

// The renderer palette of the virtual-pen modes, 256 entries. Without plot transparency: the
// colour index table (alpha 255) with entry 0 white. With it: entries 1-7 red, yellow, green,
// cyan, blue, magenta, black, a 6x6x6 colour cube from entry 8 and a 32-step gray ramp from 224.
void FillDevicePalette(HT_Palette& palette, bool plotTransparency);
