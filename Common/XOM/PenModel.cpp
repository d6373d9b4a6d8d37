#include "Common/XOM/PenModel.h"

#include "Common/XOM/ColorIndexTable.h"

void LoadColorIndexPens(PlotStreamState& state) {
    for (int pen = 1; pen < 256; ++pen) state.penPalette[pen] = PackColor(kColorIndexTable[pen]);
    state.penQueue.BuildInitial();
}

void ApplyWriterDefaults(PlotStreamState& state, bool mergeFlag, uint32_t colorModel) {
    state.mergeFlag = mergeFlag ? 1 : 0;
    if (colorModel == kPenModelUnset) {
        // No colour mode was applied, so nothing loaded the colour pens either: pen selection
        // would otherwise search an empty palette and draw from an empty queue.
        colorModel = kPenModelColor;
        LoadColorIndexPens(state);
    }
    state.colorModel = colorModel;
    state.jobStarted = 0;
    state.plotNotEmpty = 0;
    state.wantedLineWeight = 1;
    state.wantedLineJoin = 2;
    state.wantedLineCap = 2;
    state.wantedLineType = 1;
    state.wantedColor = PackColor(0, 0, 0);
    state.wantedPenIndex = 1;
    state.minLineWeight = 1;
    state.penCount = 255;
    state.virtualPens = 0;
    state.penPalette[0] = PackColor(255, 255, 255);

    switch (colorModel) {
        case kPenModelMonochrome:
            state.penCount = 2;
            state.penPalette.fill(PackColor(0, 0, 0));
            break;
        case kPenModelGray:
            state.penPalette[1] = PackColor(0, 0, 0);
            for (int n = 2; n < 256; ++n) {
                const auto level = static_cast<uint8_t>(n);
                state.penPalette[GrayPen(n)] = PackColor(level, level, level);
            }
            break;
        case kPenModelVirtualMono:
        case kPenModelVirtualColor:
            state.virtualPens = 1;
            break;
        default:
            break;
    }
}
